// Letters W and V through a whole Veltrum call: the paired dialog's checks, the pair loader (input
// block, missing values, groups, listing, capacity) and the golden reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>

#include "VELTRUM_R.h"
#include "frame/error_trap.hpp"
#include "headless/headless_host.hpp"
#include "paired/pair_dialog.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

using headless::HeadlessDialog;
using testing::Session;

struct PairSession : Session {
  // C:\daten.dat: the bytes of an example file, or records "G;N;4;0 Vor;N;6;1 Nach;N;6;1" with the
  // group in characters 1 to 5 and the two values in 7 to 12 and 14 to 19 (blank: missing).
  void copy_example(const std::string& name) {
    std::ofstream(drive.path() / "daten.dat", std::ios::binary)
        << testing::read_bytes(std::string(VELTRUM_EXAMPLES_DIR) + "/" + name);
  }
  void write_records(const std::vector<std::array<std::string, 3>>& rows) {
    std::string bytes = "G;N;4;0 Vor;N;6;1 Nach;N;6;1\r\n";
    const auto right = [](const std::string& s, std::size_t w) { return std::string(w - s.size(), ' ') + s; };
    for (const auto& [g, x, y] : rows) bytes += right(g, 5) + " " + right(x, 6) + " " + right(y, 6) + "\r\n";
    std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes;
  }
  int run_letter(std::string_view letter, std::string_view script) { return run(letter, script, "C:\\daten.dat"); }
  // The report from the input block on (after the header block).
  std::vector<std::string> body() const {
    const auto lines = report_lines();
    return lines.size() > 5 ? std::vector<std::string>(lines.begin() + 5, lines.end()) : lines;
  }
};

// Variables 2 and 3 chosen (list entries 1 and 2), Rechnen; the dialog that comes back is cancelled.
const std::string vars_2_3 = "pick 203 1\npick 211 2\n";

TEST(PairedTests, ReportsMatchTheGoldenFiles) {
  const struct {
    const char* golden;
    const char* data;
    const char* letter;
    std::string script;
  } cases[] = {
      {"W_sleep_listing.txt", "sleep.dat", "W", "tick 210\n" + vars_2_3},
      {"V_sleep.txt", "sleep.dat", "V", vars_2_3},
      {"W_survey.txt", "survey.dat", "W", vars_2_3},
      {"W_survey_group.txt", "survey.dat", "W", "pick 201 1\ntype 202 1\n" + vars_2_3},
      {"V_survey_group.txt", "survey.dat", "V", "tick 210\npick 201 1\ntype 202 1\n" + vars_2_3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    PairSession s;
    s.copy_example(c.data);
    EXPECT_EQ(s.run_letter(c.letter, c.script + "enter\nescape"), 0);
    EXPECT_TRUE(s.host.messages().empty());
    EXPECT_EQ(s.host.viewer_calls().size(), 1u);
    const std::string template_name = c.letter == std::string("W") ? "WMP" : "VZT";
    EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{template_name, template_name}));
    EXPECT_EQ(s.report(), testing::read_bytes(std::string(VELTRUM_GOLDEN_DIR) + "/" + c.golden));
    EXPECT_EQ(s.host.current_cursor(), Cursor::arrow);
  }
}

// What the dialog looks like after an action.
struct Seen {
  bool ended = false;
  int focus = -1, selected = -1;
};

const std::string group_above_0 =
    "Bitte eine Gruppennummer gr\xF6\xDF"
    "er 0 angeben.\r\rAndere Werte sind nicht zul\xE4ssig !";
const std::string ignore_question =
    "Sie haben keine Gruppenvariable eingegeben.\r\rSoll die Gruppennummer '3' ignoriert werden?";

TEST(PairedTests, DialogChecksInTheirOrder) {
  const struct {
    const char* name;
    std::string script;  // before Rechnen
    std::string message;
    unsigned style;
    Seen seen;
    std::int16_t group = 0;  // remembered group number afterwards
  } cases[] = {
      {"group variable without a number", "pick 201 1\n" + vars_2_3, group_above_0, 0x2030, {false, 202, 202}},
      {"group variable with a negative number",
       "pick 201 1\ntype 202 -2\n" + vars_2_3,
       group_above_0,
       0x2030,
       {false, 202, 202},
       -2},
      {"number without group variable, No",
       "type 202 3\nanswer no\n" + vars_2_3,
       ignore_question,
       0x2034,
       {false, IDC_PAIRS_VARIABLE, -1},
       3},
      {"number without group variable, Yes",
       "type 202 3\nanswer yes\n" + vars_2_3,
       ignore_question,
       0x2034,
       {true, -1, -1},
       0},
      {"group above 1000",
       "pick 201 1\ntype 202 1001\n" + vars_2_3,
       "Gruppennummern nur >0 und <=1000!",
       0x2030,
       {false, 202, 202},
       1001},
      {"negative group without group variable",
       "type 202 -5\n" + vars_2_3,
       "Gruppennummern nur >0 und <=1000!",
       0x2030,
       {false, 202, 202},
       -5},
      {"first variable missing", "pick 211 2\n", "Bitte Variable ausw\xE4hlen!", 0x2030, {false, 203, -1}},
      {"second variable missing", "pick 203 1\n", "Bitte Variable ausw\xE4hlen!", 0x2030, {false, 211, -1}},
      {"the same variable twice",
       "pick 203 1\npick 211 1\n",
       "Bitte verschiedene Variablen!",
       0x2030,
       {false, 203, -1}},
      {"group 2 of the group variable", "pick 201 1\ntype 202 2\n" + vars_2_3, "", 0, {true, -1, -1}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PairSession s;
    s.write_records({{"2", "1.5", "1.0"}, {"2", "3.0", "1.0"}, {"1", "2.0", "4.0"}});
    Seen seen;
    s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::enter)
        seen = {d.ended(), d.ended() ? -1 : d.focused(), d.ended() ? -1 : d.selected_text()};
    };
    // A Yes/No answer given in the script belongs to the box that Rechnen brings up.
    std::string script = c.script, answer;
    if (const auto at = script.find("answer "); at != std::string::npos) {
      const auto end = script.find('\n', at);
      answer = script.substr(at, end - at + 1);
      script.erase(at, end - at + 1);
    }
    s.run_letter("V", script + "enter\n" + answer + "escape");
    if (c.message.empty()) {
      EXPECT_TRUE(s.host.messages().empty());
    } else {
      ASSERT_GE(s.host.messages().size(), 1u);
      EXPECT_EQ(s.host.messages()[0].text, c.message);
      EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
      EXPECT_EQ(s.host.messages()[0].style, c.style);
    }
    EXPECT_EQ(seen.ended, c.seen.ended);
    EXPECT_EQ(seen.focus, c.seen.focus);
    EXPECT_EQ(seen.selected, c.seen.selected);
    EXPECT_EQ(PairInputs(s.module).group_number, c.group);
    EXPECT_TRUE(s.host.problems().empty()) << s.host.problems().front();
  }
}

TEST(PairedTests, LoaderKeepsOnlyWholePairsOfTheChosenGroup) {
  // Rows: group, first, second ("" is missing).
  const std::vector<std::array<std::string, 3>> rows = {{"1", "5.0", "3.0"}, {"1", "", "2.0"},    {"2", "4.0", "4.0"},
                                                        {"1", "2.0", ""},    {"1", "1.0", "6.0"}, {"", "7.0", "1.0"},
                                                        {"1", "2.5", "2.5"}};
  const struct {
    const char* name;
    std::string script;
    std::vector<std::string> block;  // the input block's lines after "Eingabedatei ist ..."
    std::string counts;              // the sign test's frequency line
  } cases[] = {
      {"all records; a missing value in either column drops the pair",
       vars_2_3,
       {"  davon Variable 2 (Vor) - Variable 3 (Nach) ", ""},
       "H\xE4ufigkeiten |     1     2     2  |"},
      {"group 1",
       "pick 201 1\ntype 202 1\n" + vars_2_3,
       {"  davon Variable 2 (Vor) - Variable 3 (Nach) ", "  und Gruppe Var. 1 (G) = 1 ", ""},
       "H\xE4ufigkeiten |     1     1     1  |"},
      {"a group number ignored: the whole file",
       "type 202 1\n" + vars_2_3 + "enter\nanswer yes\n",
       {"  davon Variable 2 (Vor) - Variable 3 (Nach) ", ""},
       "H\xE4ufigkeiten |     1     2     2  |"},
      {"x > y counts under +: the variables swapped",
       "pick 203 2\npick 211 1\n",
       {"  davon Variable 3 (Nach) - Variable 2 (Vor) ", ""},
       "H\xE4ufigkeiten |     2     2     1  |"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PairSession s;
    s.write_records(rows);
    std::string script = c.script;
    if (script.find("enter\n") == std::string::npos) script += "enter\n";
    EXPECT_EQ(s.run_letter("V", script + "escape"), 0);
    const auto body = s.body();
    ASSERT_GT(body.size(), 6u);
    EXPECT_EQ(body[1], "Eingabedatei ist C:\\daten.dat");
    EXPECT_EQ(std::vector<std::string>(body.begin() + 2, body.begin() + 2 + static_cast<long>(c.block.size())),
              c.block);
    EXPECT_TRUE(std::find(body.begin(), body.end(), c.counts) != body.end()) << c.counts;
  }
}

TEST(PairedTests, ListingNamesTheColumnsAndTheGroup) {
  PairSession s;
  s.write_records({{"1", "5.0", "3.0"}, {"1", "-1.5", "2.0"}});
  s.run_letter("V", "tick 210\npick 201 1\ntype 202 1\n" + vars_2_3 + "enter\nescape");
  const auto body = s.body();
  const std::vector<std::string> listing = {"",
                                            "Gruppe 1 ",
                                            "",
                                            "  i      Var  2     Var  3     Diff",
                                            "",
                                            "  1:     5.0000     3.0000     2.0000",
                                            "  2:    -1.5000     2.0000    -3.5000",
                                            "",
                                            "",
                                            "Vorzeichen   |     -     0     +  |"};
  ASSERT_GE(body.size(), 5 + listing.size());
  EXPECT_EQ(std::vector<std::string>(body.begin() + 5, body.begin() + 5 + static_cast<long>(listing.size())), listing);
}

TEST(PairedTests, RunsThatStopShowNoReportAndTheDialogAgain) {
  const auto repeated = [](int n, std::array<std::string, 3> row) {
    return std::vector(static_cast<std::size_t>(n), row);
  };
  const struct {
    const char* name;
    const char* letter;
    std::vector<std::array<std::string, 3>> rows;
    std::string script;
    std::string caption, message;
  } cases[] = {
      {"all pairs equal", "W", repeated(5, {"1", "2.0", "2.0"}), vars_2_3, " Vorsicht!",
       "Der Stichprobenumfang n = 5 ist zu klein oder es\r\rliegen zuviele Paare (n' = 5) mit gleichen Werten vor!"},
      {"one unequal pair",
       "W",
       {{"1", "2.0", "2.0"}, {"1", "3.0", "2.0"}, {"1", "1.0", "1.0"}},
       vars_2_3,
       " Vorsicht!",
       "Der Stichprobenumfang n = 3 ist zu klein oder es\r\rliegen zuviele Paare (n' = 2) mit gleichen Werten vor!"},
      {"no pair in the group",
       "V",
       {{"1", "2.0", "2.0"}},
       "pick 201 1\ntype 202 7\n" + vars_2_3,
       " Vorsicht!",
       "Der Stichprobenumfang mindestens einer Gruppe ist Null!"},
      {"1002 pairs overflow the table", "V", repeated(1002, {"1", "2.0", "1.0"}), vars_2_3, " Achtung!",
       std::string(index_error_text)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PairSession s;
    s.write_records(c.rows);
    EXPECT_EQ(s.run_letter(c.letter, c.script + "enter\nescape"), 0);
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].caption, c.caption);
    EXPECT_EQ(s.host.messages()[0].text, c.message);
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  }

  // 1001 pairs still fit.
  PairSession full;
  full.write_records(repeated(1001, {"1", "2.0", "1.0"}));
  full.run_letter("V", vars_2_3 + "enter\nescape");
  EXPECT_TRUE(full.host.messages().empty());
  const auto body = full.body();
  EXPECT_NE(std::find(body.begin(), body.end(), "H\xE4ufigkeiten |     0     0  1001  |"), body.end());
}

TEST(PairedTests, DialogComesBackWithTheChoicesOfThePass) {
  PairSession s;
  s.write_records({{"1", "5.0", "3.0"}, {"1", "1.0", "2.0"}});
  std::vector<int> seen;
  // The second pass's dialog, as it is cancelled.
  s.host.on_action = [&](const HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::escape)
      seen = {d.selection(IDC_PAIRS_VARIABLE), std::stoi(std::string("0").append(d.text(IDC_PAIRS_GROUP, 99))),
              d.selection(IDC_PAIRS_FIRST), d.selection(IDC_PAIRS_SECOND), d.checked(IDC_PAIRS_LISTING) ? 1 : 0};
  };
  s.run_letter("W", "tick 210\npick 201 1\ntype 202 1\npick 203 2\npick 211 1\nenter\nescape");
  EXPECT_EQ(seen, (std::vector<int>{1, 1, 2, 1, 1}));
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"WMP", "WMP"}));
}

}  // namespace
}  // namespace veltrum
