// The group dialogs: KRUSKAL with its one-number-per-Enter entry, the two-group dialogs UTEST,
// MEDIAN and KOLMO, their messages, focus, pre-filling and the listing check box.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "group_test_support.hpp"
#include "independent/group_dialogs.hpp"

namespace veltrum {
namespace {

using headless::HeadlessDialog;
using testing::GroupSession;

const std::string k_range_text =
    "Bitte eine Gruppennummer >0 und <=1000 angeben.\r\rAndere Werte sind nicht zul\xE4ssig !";
const std::string two_range_text =
    "Bitte nur Gruppennummern >0 und <=1000 angeben.\r\rAndere Werte sind nicht zul\xE4ssig !";

// Three groups 5, 2, 9 of two values each (and group 7, never chosen below).
void write_three_groups(GroupSession& s) {
  s.write_records({{"5", "1.5"}, {"2", "2"}, {"9", "3"}, {"7", "4"}, {"5", "5"}, {"2", "6"}, {"9", "7"}});
}

struct Seen {
  std::string count_text, number_text, label;
  bool count_enabled = true, number_enabled = true, ended = false;
  int focus = -1, selected = -1;
};

Seen look(const HeadlessDialog& d) {
  return {d.text(IDC_GROUPS_COUNT, 99),
          d.text(IDC_GROUPS_NUMBER, 99),
          d.text(IDC_GROUPS_EDIT2_LABEL, 99),
          d.control(IDC_GROUPS_COUNT).enabled,
          d.control(IDC_GROUPS_NUMBER).enabled,
          d.ended(),
          d.focused(),
          d.selected_text()};
}

TEST(GroupDialogs, ZeroOrNegativeCountMeansAllGroups) {
  for (const std::string count : {"0", "-3", "", "0=<Alle>"}) {
    GroupSession s;
    write_three_groups(s);
    std::vector<Seen> seen;
    std::string initial;
    s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::pick && a.id == IDC_GROUPS_VARIABLE) initial = d.text(IDC_GROUPS_COUNT, 99);
      if (a.verb == script::Verb::enter) seen.push_back(look(d));
    };
    s.run_groups("K", "pick 201 0\npick 401 1\ntype 403 " + count + "\nenter\nescape");
    EXPECT_EQ(initial, "0=<Alle>");
    ASSERT_EQ(seen.size(), 1u) << count;
    EXPECT_TRUE(seen[0].ended) << count;
    EXPECT_EQ(seen[0].count_text, "0=<Alle>");
    EXPECT_TRUE(seen[0].count_enabled);
    EXPECT_EQ(GroupInputs(s.module).group_count, 0);
    EXPECT_TRUE(s.host.messages().empty());
    // All 201 group numbers are i; the loader then numbers the groups by first appearance.
    ASSERT_EQ(s.passes().size(), 2u);
    EXPECT_EQ(s.passes()[0].k, 4.0f);
  }

  // Without a group variable the count still shows "0=<Alle>" next to the message.
  GroupSession t;
  write_three_groups(t);
  std::vector<Seen> seen;
  t.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) seen.push_back(look(d));
  };
  t.run_groups("K", "type 403 -1\nenter");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FALSE(seen[0].ended);
  EXPECT_EQ(seen[0].count_text, "0=<Alle>");
  EXPECT_EQ(seen[0].focus, IDC_GROUPS_VARIABLE);
  ASSERT_EQ(t.host.messages().size(), 1u);
  EXPECT_EQ(t.host.messages()[0].text, "Bitte Gruppenvariable angeben!");
}

TEST(GroupDialogs, GroupNumbersAreEnteredOneEnterAtATime) {
  GroupSession s;
  write_three_groups(s);
  std::vector<Seen> seen;
  std::vector<int> numbers;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::enter) return;
    seen.push_back(look(d));
    if (d.ended()) numbers = {s.module.work.w8[1], s.module.work.w8[2], s.module.work.w8[3], s.module.work.w8[4]};
  };
  s.run_groups("K",
               "pick 201 0\npick 401 1\ntype 403 3\nenter\n"
               "type 404 5\nenter\ntype 404 2\nenter\ntype 404 9\nenter\nenter\nescape");
  ASSERT_EQ(seen.size(), 5u);
  // The count alone: only the focus moves to the group number.
  EXPECT_EQ(seen[0].label, "1. Gruppe :");
  EXPECT_FALSE(seen[0].count_enabled);
  EXPECT_EQ(seen[0].focus, IDC_GROUPS_NUMBER);
  EXPECT_EQ(seen[1].label, "2. Gruppe :");
  EXPECT_EQ(seen[1].number_text, "");
  EXPECT_EQ(seen[1].focus, IDC_GROUPS_NUMBER);
  EXPECT_TRUE(seen[1].number_enabled);
  EXPECT_EQ(seen[2].label, "3. Gruppe :");
  EXPECT_EQ(seen[3].label, "Alle Gruppen eingegeben!");
  EXPECT_FALSE(seen[3].number_enabled);
  EXPECT_EQ(seen[3].focus, IDC_RECHNEN);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(seen[i].ended) << i;
  EXPECT_TRUE(seen[4].ended);
  EXPECT_TRUE(s.host.messages().empty());

  EXPECT_EQ(numbers, (std::vector<int>{5, 2, 9, 0}));
  EXPECT_EQ(GroupInputs(s.module).group_count, 3);
  // Group index 1 is group 5.
  ASSERT_EQ(s.passes().size(), 2u);
  EXPECT_EQ(s.passes()[0].k, 3.0f);
  EXPECT_EQ(s.table().group_number[1], 5);
  EXPECT_EQ(s.table().group_number[2], 2);
  EXPECT_EQ(s.table().group_number[3], 9);
  EXPECT_EQ(s.module.work.w7[5], 1);
  EXPECT_EQ(s.module.work.w7[2], 2);
  EXPECT_EQ(s.module.work.w7[9], 3);
  EXPECT_EQ(s.module.work.w7[7], 0);
}

TEST(GroupDialogs, KGroupDialogRefusesWithMessagesAndFocus) {
  struct Case {
    std::string script, text;
    int focus, selected;
  };
  const std::vector<Case> cases = {
      // The first Enter with an empty group number only moves the focus, even without variables.
      {"type 403 2\nenter", "", IDC_GROUPS_NUMBER, -1},
      {"type 403 2\ntype 404 5\nenter", "Bitte Gruppenvariable angeben!", IDC_GROUPS_VARIABLE, -1},
      {"pick 201 0\ntype 403 2\ntype 404 5\nenter",
       "Bitte eine Zielgr\xF6\xDF"
       "e eingeben!",
       IDC_GROUPS_TARGET, -1},
      {"pick 201 0\npick 401 1\ntype 403 2\ntype 404 1001\nenter", k_range_text, IDC_GROUPS_NUMBER, IDC_GROUPS_NUMBER},
      {"pick 201 0\npick 401 1\ntype 403 2\ntype 404 -4\nenter", k_range_text, IDC_GROUPS_NUMBER, IDC_GROUPS_NUMBER},
      // An empty number once one is entered: the range message.
      {"pick 201 0\npick 401 1\ntype 403 2\ntype 404 5\nenter\nenter", k_range_text, IDC_GROUPS_NUMBER,
       IDC_GROUPS_NUMBER},
      {"pick 201 0\npick 401 1\ntype 403 0\ntype 404 5\nenter", "Bitte zuerst die Anzahl Gruppen eingeben!",
       IDC_GROUPS_COUNT, IDC_GROUPS_COUNT},
  };
  for (const auto& c : cases) {
    GroupSession s;
    write_three_groups(s);
    std::vector<Seen> seen;
    s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::enter) seen.push_back(look(d));
    };
    s.run_groups("K", c.script);
    ASSERT_FALSE(seen.empty()) << c.script;
    EXPECT_FALSE(seen.back().ended) << c.script;
    EXPECT_EQ(seen.back().focus, c.focus) << c.script;
    EXPECT_EQ(seen.back().selected, c.selected) << c.script;
    if (c.text.empty()) {
      EXPECT_TRUE(s.host.messages().empty()) << c.script;
    } else {
      ASSERT_EQ(s.host.messages().size(), 1u) << c.script;
      EXPECT_EQ(s.host.messages()[0].text, c.text);
      EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
      EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
    }
    EXPECT_TRUE(s.passes().empty() || s.passes()[0].dialog_result == 0) << c.script;
  }

  // A refused number is not stored: after 1001 the next number is still the first group.
  GroupSession s;
  write_three_groups(s);
  std::vector<Seen> seen;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) seen.push_back(look(d));
  };
  s.run_groups("K", "pick 201 0\npick 401 1\ntype 403 2\ntype 404 1001\nenter\ntype 404 9\nenter");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].label, "2. Gruppe :");
  EXPECT_EQ(s.module.work.w8[1], 9);
  // "Bitte zuerst ..." empties the group number field.
  GroupSession z;
  write_three_groups(z);
  seen.clear();
  z.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter) seen.push_back(look(d));
  };
  z.run_groups("K", "pick 201 0\npick 401 1\ntype 404 5\nenter");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].number_text, "");
}

TEST(GroupDialogs, KGroupDialogShownAgainKeepsChoicesButNotGroupNumbers) {
  GroupSession s;
  write_three_groups(s);
  std::vector<Seen> seen;
  std::vector<int> selections;
  std::string caption;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::escape) return;
    seen.push_back(look(d));
    selections = {d.selection(IDC_GROUPS_VARIABLE), d.selection(IDC_GROUPS_TARGET)};
    caption = d.caption();
  };
  s.run_groups("T", "pick 201 0\npick 401 1\ntype 403 2\ntype 404 9\nenter\ntype 404 5\nenter\nenter\nescape");
  ASSERT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"KRUSKAL", "KRUSKAL"}));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(caption, "Mantel-Haenszel-Zimmermann-Test (k Gruppen).");
  EXPECT_EQ(seen[0].count_text, "2");
  EXPECT_EQ(seen[0].number_text, "");
  EXPECT_EQ(seen[0].label, "1. Gruppe :");
  EXPECT_EQ(selections, (std::vector<int>{0, 1}));
  for (int i = 0; i <= 201; ++i) EXPECT_EQ(s.module.work.w8[i], 0) << i;

  // Letter K keeps the template's caption; a new call starts with no choices at all.
  std::string k_caption;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::escape) return;
    k_caption = d.caption();
    seen.push_back(look(d));
    selections = {d.selection(IDC_GROUPS_VARIABLE), d.selection(IDC_GROUPS_TARGET)};
  };
  s.run_groups("K", "escape");
  EXPECT_EQ(k_caption, "Kruskal-Wallis-Test.");
  EXPECT_EQ(seen.back().count_text, "0=<Alle>");
  EXPECT_EQ(selections, (std::vector<int>{-1, -1}));
}

TEST(GroupDialogs, ListsHoldTheVariablesWithoutKeine) {
  GroupSession s;
  s.write_data("Nr;N;3;0 Gruppe;N;2;0 Gewicht;N;6;1\r\n   1  1   12.5\r\n");
  std::vector<std::string> groups, targets;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action&) {
    groups = d.control(IDC_GROUPS_VARIABLE).items;
    targets = d.control(IDC_GROUPS_TARGET).items;
  };
  s.run_groups("U", "escape");
  const std::vector<std::string> names = {"Nr", "Gruppe", "Gewicht"};
  EXPECT_EQ(groups, names);
  EXPECT_EQ(targets, names);
}

TEST(GroupDialogs, TwoGroupDialogRefusesWithMessagesAndFocus) {
  struct Case {
    std::string script, text;
    int focus, selected;
  };
  const std::vector<Case> cases = {
      {"type 403 1\ntype 404 2\nenter", "Bitte Gruppenvariable angeben!", IDC_GROUPS_VARIABLE, -1},
      {"pick 201 0\ntype 403 1\ntype 404 2\nenter",
       "Bitte eine Zielgr\xF6\xDF"
       "e eingeben!",
       IDC_GROUPS_TARGET, -1},
      {"pick 201 0\npick 401 1\ntype 403 0\ntype 404 2\nenter", two_range_text, IDC_GROUPS_FIRST, IDC_GROUPS_FIRST},
      {"pick 201 0\npick 401 1\ntype 403 1001\ntype 404 2000\nenter", two_range_text, IDC_GROUPS_FIRST,
       IDC_GROUPS_FIRST},
      {"pick 201 0\npick 401 1\ntype 403 5\ntype 404 1001\nenter", two_range_text, IDC_GROUPS_SECOND,
       IDC_GROUPS_SECOND},
      {"pick 201 0\npick 401 1\ntype 403 5\nenter", two_range_text, IDC_GROUPS_SECOND, IDC_GROUPS_SECOND},
      {"pick 201 0\npick 401 1\ntype 403 5\ntype 404 5.4\nenter", "Bitte verschiedene Gruppen vergleichen!",
       IDC_GROUPS_FIRST, IDC_GROUPS_FIRST},
  };
  for (const auto& c : cases) {
    for (const std::string letter : {"U", "E", "S"}) {
      GroupSession s;
      write_three_groups(s);
      std::vector<Seen> seen;
      s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
        if (a.verb == script::Verb::enter) seen.push_back(look(d));
      };
      s.run_groups(letter, c.script);
      ASSERT_EQ(seen.size(), 1u) << c.script;
      EXPECT_FALSE(seen[0].ended) << c.script;
      EXPECT_EQ(seen[0].focus, c.focus) << c.script;
      EXPECT_EQ(seen[0].selected, c.selected) << c.script;
      ASSERT_EQ(s.host.messages().size(), 1u) << c.script;
      EXPECT_EQ(s.host.messages()[0].text, c.text);
      EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
      EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
    }
  }

  // Accepted: the numbers are stored as group numbers 1 and 2 (rounded, halves to even).
  GroupSession s;
  write_three_groups(s);
  s.run_groups("U", "pick 201 0\npick 401 1\ntype 403 9\ntype 404 2.5\nenter");
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.module.work.w8[1], 9);
  EXPECT_EQ(s.module.work.w8[2], 2);
}

TEST(GroupDialogs, TwoGroupDialogsCaptionsPrefillAndHelp) {
  GroupSession s;
  write_three_groups(s);
  std::vector<std::string> shown;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::escape)
      shown.push_back(d.caption() + "|" + d.text(IDC_GROUPS_FIRST, 9) + "|" + d.text(IDC_GROUPS_SECOND, 9) + "|" +
                      std::to_string(d.selection(IDC_GROUPS_VARIABLE)) + "|" +
                      std::to_string(d.selection(IDC_GROUPS_TARGET)));
  };
  s.run_groups("N", "pick 201 0\npick 401 1\ntype 403 9\ntype 404 2\nenter\nescape");
  s.run_groups("U", "escape");
  s.run_groups("E", "escape");
  s.run_groups("S", "escape");
  EXPECT_EQ(shown, (std::vector<std::string>{"Mantel-Haenszel-Test (2 Gruppen).|9|2|0|1",
                                             "Wilcoxon-Mann-Whitney-U-Test.|||-1|-1", "Median - Test .|||-1|-1",
                                             "Kolmogoroff-Smirnoff-Test.|||-1|-1"}));
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"UTEST", "UTEST", "UTEST", "MEDIAN", "KOLMO"}));

  // "&Hilfe" opens Kalvo.HLP in the module's folder at topic 9996 and leaves the dialog open.
  bool open_after_help = false;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::press) open_after_help = !d.ended();
  };
  s.run_groups("U", "press 408\nescape");
  EXPECT_TRUE(open_after_help);
  EXPECT_EQ(s.host.help_calls(), std::vector<std::string>{"C:\\Kalvo\\Kalvo.HLP|9996"});

  // MEDIAN and KOLMO have no help button.
  const auto templates = headless::module_templates();
  EXPECT_TRUE(HeadlessDialog(templates.at("UTEST"), Rect{}).has_control(IDC_GROUPS_HELP));
  EXPECT_FALSE(HeadlessDialog(templates.at("MEDIAN"), Rect{}).has_control(IDC_GROUPS_HELP));
  EXPECT_FALSE(HeadlessDialog(templates.at("KOLMO"), Rect{}).has_control(IDC_GROUPS_HELP));
}

TEST(GroupDialogs, HelpFileBesideTheModule) {
  for (const auto& [module_path, file] :
       {std::pair{"C:\\Programme\\Kalvo\\VELTRUM.DLL", "C:\\Programme\\Kalvo\\Kalvo.HLP"},
        std::pair{"VELTRUM.DLL", "VELTRUM.DLL\\Kalvo.HLP"}, std::pair{"", "\\Kalvo.HLP"}}) {
    headless::Settings settings;
    settings.module_path = module_path;
    headless::HeadlessHost host(settings);
    host.add_actions(script::parse("press 408\nescape"));
    Module m(host);
    TwoGroupsDialog dialog(m);
    host.dialog("UTEST", dialog);
    EXPECT_EQ(host.help_calls(), std::vector<std::string>{std::string(file) + "|9996"});
  }
}

TEST(GroupDialogs, ListingCheckBoxOutlivesTheCall) {
  GroupSession s;
  write_three_groups(s);
  std::vector<bool> ticked;
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::escape) ticked.push_back(d.checked(IDC_GROUPS_LISTING));
  };
  s.run_groups("U", "tick 407\nescape");
  EXPECT_EQ(s.module.listing_check, 0);  // Abbrechen stores nothing
  s.run_groups("U", "tick 407\npick 201 0\npick 401 1\ntype 403 5\ntype 404 2\nenter\nescape");
  EXPECT_EQ(s.module.listing_check, 1);
  EXPECT_TRUE(s.module.listing);
  // A new call, another dialog: the box is ticked from the start.
  s.run_groups("K", "escape");
  EXPECT_EQ(ticked, (std::vector<bool>{true, true, true}));
  // Unticked and Rechnen, even when the input is refused.
  s.run_groups("U", "untick 407\nenter\nescape");
  EXPECT_EQ(s.module.listing_check, 0);
  EXPECT_FALSE(s.module.listing);
}

TEST(DialogConventions, GroupNumberWithoutGroupVariableAsksFirst) {
  for (const bool yes : {false, true}) {
    testing::Session s;
    s.host.add_actions(script::parse(yes ? "answer yes" : "answer no"));
    HeadlessDialog d(headless::module_templates().at("UTEST"), Rect{});
    std::int16_t number = 12;
    EXPECT_EQ(confirm_group_number_without_variable(s.host, d, IDC_GROUPS_VARIABLE, 0, number), yes);
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].text,
              "Sie haben keine Gruppenvariable eingegeben.\r\rSoll die Gruppennummer '12' ignoriert werden?");
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2034u);
    EXPECT_EQ(number, yes ? 0 : 12);
    EXPECT_EQ(d.focused(), yes ? -1 : IDC_GROUPS_VARIABLE);
  }
  // With a group variable, or without a group number, nothing is asked.
  testing::Session s;
  HeadlessDialog d(headless::module_templates().at("UTEST"), Rect{});
  std::int16_t number = 12, none = 0;
  EXPECT_TRUE(confirm_group_number_without_variable(s.host, d, IDC_GROUPS_VARIABLE, 2, number));
  EXPECT_TRUE(confirm_group_number_without_variable(s.host, d, IDC_GROUPS_VARIABLE, 0, none));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(number, 12);
}

}  // namespace
}  // namespace veltrum
