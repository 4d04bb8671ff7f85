// The group-sample loader: which records make up the groups, the input block and the listing in
// the report, and every way the loading can end early.
#include <gtest/gtest.h>

#include "VELTRUM_R.h"
#include "group_test_support.hpp"
#include "independent/group_loader.hpp"

namespace veltrum {
namespace {

using testing::GroupSession;
using Rows = std::vector<std::pair<std::string, std::string>>;

const std::string index_text =
    "Index\xFC"
    "berschreitung, vgl. Infos/Restriktionen!";
const std::string empty_group_text = "Der Stichprobenumfang mindestens einer Gruppe ist Null!";

std::string range_text(const std::string& value) {
  return "Kalvo. erlaubt keine Gruppenvariablen mit Werten\r<1 bzw. >1000. Der hier vorhandene Wert" + value +
         "\rist deshalb nicht zul\xE4ssig (vgl. Handbuch Kap. 1\roder auch im Hauptmen\xFC 'Infos, Restriktionen') ."
         "\r\rBitte korrigieren Sie die aktive Datei im Editor.";
}

// Picks both variables and enters groups a and b in the two-group dialog, then cancels the
// dialog that comes back.
std::string two_groups(const std::string& a, const std::string& b, bool listing = false) {
  return std::string(listing ? "tick 407\n" : "") + "pick 201 0\npick 401 1\ntype 403 " + a + "\ntype 404 " + b +
         "\nenter\nescape";
}

// All groups of the file in the k-group dialog.
const std::string all_groups = "pick 201 0\npick 401 1\ntype 403 0\nenter\nescape";

std::vector<float> values(const SampleTable& t, int group) {
  std::vector<float> v;
  for (int j = 1; j <= static_cast<int>(t.n[group]); ++j) v.push_back(t.x(group, j));
  return v;
}

const Rows mixed = {{"7", "1.5"}, {"3", "2"},  {"7", "2.5"}, {"", "9"},  {"5", "4"},   {"3", ""},
                    {"5", "x"},   {"12", "6"}, {"7", "..."}, {"7", "0"}, {"3", "-0.5"}};

TEST(GroupLoader, AllGroupsAreNumberedByFirstAppearance) {
  GroupSession s;
  std::string bytes = "Gruppe;N;5;0 Wert;N;6;2\r\n";
  for (const auto& [g, x] : mixed) bytes += GroupSession::record(g, x);
  // A record of blanks only and an empty line are skipped.
  bytes += "             \r\n\r\n";
  s.write_data(bytes);
  s.run_groups("K", all_groups);
  ASSERT_EQ(s.passes().size(), 2u);
  EXPECT_EQ(s.passes()[0].k, 4.0f);
  EXPECT_FALSE(s.passes()[0].stopped);
  EXPECT_EQ(s.passes()[0].dialog_result, 1);
  const SampleTable& t = s.table();
  EXPECT_EQ(t.k, 4.0f);
  EXPECT_EQ(t.capacity, 1001);
  EXPECT_EQ((std::vector<int>{t.group_number[1], t.group_number[2], t.group_number[3], t.group_number[4]}),
            (std::vector<int>{7, 3, 5, 12}));
  // Missing values ("", "x", "...") are left out; 0 is a value.
  EXPECT_EQ(values(t, 1), (std::vector<float>{1.5f, 2.5f, 0.0f}));
  EXPECT_EQ(values(t, 2), (std::vector<float>{2.0f, -0.5f}));
  EXPECT_EQ(values(t, 3), (std::vector<float>{4.0f}));
  EXPECT_EQ(values(t, 4), (std::vector<float>{6.0f}));
  EXPECT_EQ(s.module.work.w7[7], 1);
  EXPECT_EQ(s.module.work.w7[12], 4);
  EXPECT_EQ(s.module.work.w7[1], 0);
  EXPECT_EQ(s.body(),
            (std::vector<std::string>{"", "Eingabedatei ist C:\\daten.dat",
                                      "  davon Variable 2 (Wert)  und Gruppen-Var. 1 (Gruppe) = 7 3 5 12 ", "", ""}));
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_TRUE(s.host.messages().empty());
}

TEST(GroupLoader, OnlyTheChosenGroupsInEntryOrder) {
  GroupSession s;
  s.write_records(mixed);
  s.run_groups("U", two_groups("5", "7"));
  const SampleTable& t = s.table();
  EXPECT_EQ(s.passes()[0].k, 2.0f);
  EXPECT_EQ(t.group_number[1], 5);
  EXPECT_EQ(t.group_number[2], 7);
  EXPECT_EQ(values(t, 1), (std::vector<float>{4.0f}));
  EXPECT_EQ(values(t, 2), (std::vector<float>{1.5f, 2.5f, 0.0f}));
  EXPECT_EQ(t.n[3], 0.0f);
  EXPECT_EQ(s.body(),
            (std::vector<std::string>{"", "Eingabedatei ist C:\\daten.dat",
                                      "  davon Variable 2 (Wert)  und Gruppen-Var. 1 (Gruppe) = 5 7 ", "", ""}));

  // K with a count: the groups typed, in the order typed.
  GroupSession k;
  k.write_records(mixed);
  k.run_groups("K",
               "pick 201 0\npick 401 1\ntype 403 3\nenter\ntype 404 12\nenter\ntype 404 3\nenter\n"
               "type 404 7\nenter\nenter\nescape");
  EXPECT_EQ(k.passes()[0].k, 3.0f);
  EXPECT_EQ(values(k.table(), 1), (std::vector<float>{6.0f}));
  EXPECT_EQ(values(k.table(), 2), (std::vector<float>{2.0f, -0.5f}));
  EXPECT_EQ(values(k.table(), 3), (std::vector<float>{1.5f, 2.5f, 0.0f}));
  EXPECT_EQ(k.body().at(2), "  davon Variable 2 (Wert)  und Gruppen-Var. 1 (Gruppe) = 12 3 7 ");

  // The target may come before the group variable in the file.
  // 1.5 is read as group 2 (a half to the even neighbour).
  GroupSession r;
  r.write_records({{"7", "1.5"}, {"3", "2"}, {"5", "4"}});
  r.run_groups("U", "pick 201 1\npick 401 0\ntype 403 2\ntype 404 4\nenter");
  EXPECT_EQ(r.body().at(2), "  davon Variable 1 (Gruppe)  und Gruppen-Var. 2 (Wert) = 2 4 ");
  EXPECT_EQ(values(r.table(), 1), (std::vector<float>{7.0f, 3.0f}));
  EXPECT_EQ(values(r.table(), 2), (std::vector<float>{5.0f}));
}

TEST(GroupLoader, GroupValueOutsideOneToThousandStopsTheTest) {
  struct Case {
    std::string value, shown, letter;
  };
  for (const auto& c : {Case{"0", " 0", "U"}, Case{"1001", " 1001", "U"}, Case{"-2", "-2", "U"},
                        Case{"1000.6", " 1001", "U"}, Case{"0", " 0", "K"}, Case{"32767", " 32767", "U"},
                        // Beyond the 16-bit range: the same message, not a missing value.
                        Case{"40000", " 40000", "U"}, Case{"32768", " 32768", "K"}, Case{"-40000", "-40000", "U"},
                        // Beyond the float range: the value as written, not "Inf".
                        Case{"1e40", " 1e40", "U"}, Case{"-1E99", "-1E99", "K"}}) {
    GroupSession s;
    // The faulty record belongs to no chosen group.
    s.write_records({{"1", "1"}, {"2", "2"}, {c.value, "3"}, {"1", "4"}});
    std::vector<std::string> prefilled;
    s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
      if (a.verb == script::Verb::escape) prefilled.push_back(d.text(IDC_GROUPS_FIRST, 9));
    };
    s.run_groups(c.letter, c.letter == "K" ? all_groups : two_groups("1", "2"));
    ASSERT_EQ(s.host.messages().size(), 1u) << c.value;
    EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2010u);
    EXPECT_EQ(s.host.messages()[0].text, range_text(c.shown));
    EXPECT_EQ(s.passes()[0].dialog_result, 0);
    EXPECT_FALSE(s.passes()[0].stopped);
    // No report is shown; the dialog comes back with the last input.
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
    if (c.letter == "U") {
      EXPECT_EQ(prefilled, std::vector<std::string>{"1"});
    }
  }

  // 1000.4 is group 1000, 0.6 is group 1: both allowed.
  GroupSession s;
  s.write_records({{"1000.4", "1"}, {"0.6", "2"}});
  s.run_groups("U", two_groups("1000", "1"));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.passes()[0].k, 2.0f);

  // A missing group value before it does not make 32767 a missing value: the message all the same.
  GroupSession m;
  m.write_records({{"", "1"}, {"32767", "2"}, {"1", "3"}, {"2", "4"}});
  m.run_groups("U", two_groups("1", "2"));
  ASSERT_EQ(m.host.messages().size(), 1u);
  EXPECT_EQ(m.host.messages()[0].text, range_text(" 32767"));
  EXPECT_TRUE(m.host.viewer_calls().empty());
}

TEST(GroupLoader, GroupWithoutValuesStopsTheTest) {
  for (const std::string& script : {two_groups("1", "8"), two_groups("3", "1")}) {
    GroupSession s;
    // Group 3 has only missing values.
    s.write_records({{"1", "1"}, {"2", "2"}, {"3", ""}, {"3", "."}});
    s.run_groups("U", script);
    ASSERT_EQ(s.host.messages().size(), 1u) << script;
    EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
    EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
    EXPECT_EQ(s.host.messages()[0].text, empty_group_text);
    ASSERT_GE(s.passes().size(), 1u);
    EXPECT_TRUE(s.passes()[0].stopped);
    EXPECT_EQ(s.passes()[0].dialog_result, 0);
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  }
}

// `groups` groups of `per_group` values each, then `extra` more values in group 1.
std::string data_with(int groups, int per_group, int extra) {
  std::string bytes = "Gruppe;N;5;0 Wert;N;6;2\r\n";
  for (int i = 1; i <= groups; ++i)
    for (int j = 1; j <= per_group + (i == 1 ? extra : 0); ++j)
      bytes += GroupSession::record(std::to_string(i), std::to_string(j % 1000));
  return bytes;
}

TEST(GroupLoader, CapacityOfTheSampleTable) {
  struct Case {
    std::string letter;
    int groups, per_group, extra;
    bool fits;
    int capacity;
  };
  const std::vector<Case> cases = {
      {"U", 2, 1001, 0, true, 1001},
      {"U", 2, 1, 1001, false, 0},
      {"K", 10, 1001, 0, true, 1001},
      {"K", 10, 5, 1001, false, 0},
      // 10000 / 11 + 1 = 910.09: 910 values a group.
      {"K", 11, 1, 909, true, 910},
      {"K", 11, 1, 910, false, 0},
      // 10000 / 32 + 1 = 313.5, to the even neighbour: 314.
      {"K", 32, 1, 313, true, 314},
      {"K", 32, 1, 314, false, 0},
      // 100 groups of 101 values; a 101st group does not fit.
      {"K", 100, 101, 0, true, 101},
      {"K", 101, 1, 0, false, 0},
  };
  for (const auto& c : cases) {
    GroupSession s;
    s.write_data(data_with(c.groups, c.per_group, c.extra));
    s.run_groups(c.letter, c.letter == "K" ? all_groups : two_groups("1", "2"));
    const std::string label =
        c.letter + " " + std::to_string(c.groups) + "x" + std::to_string(c.per_group) + "+" + std::to_string(c.extra);
    ASSERT_GE(s.passes().size(), 1u) << label;
    if (c.fits) {
      EXPECT_TRUE(s.host.messages().empty()) << label;
      EXPECT_EQ(s.passes()[0].k, static_cast<float>(c.groups)) << label;
      EXPECT_EQ(s.table().capacity, c.capacity) << label;
      EXPECT_EQ(s.table().n[1], static_cast<float>(c.per_group + c.extra)) << label;
      EXPECT_EQ(s.host.viewer_calls().size(), 1u) << label;
    } else {
      ASSERT_EQ(s.host.messages().size(), 1u) << label;
      EXPECT_EQ(s.host.messages()[0].caption, " Achtung!");
      EXPECT_EQ(s.host.messages()[0].style, 0x2010u);
      EXPECT_EQ(s.host.messages()[0].text, index_text) << label;
      EXPECT_EQ(s.passes()[0].dialog_result, 0) << label;
      EXPECT_TRUE(s.host.viewer_calls().empty()) << label;
      EXPECT_EQ(s.host.dialogs_shown().size(), 2u) << label;
    }
  }
}

TEST(GroupLoader, TableIsFreshOnEveryPass) {
  GroupSession s;
  s.write_data(data_with(11, 2, 0));
  s.run_groups("K", all_groups);
  EXPECT_EQ(s.table().capacity, 910);
  // Two groups of 1001 values fit again after a pass with eleven groups.
  s.write_data(data_with(2, 1001, 0));
  s.run_groups("U", two_groups("1", "2"));
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.table().capacity, 1001);
  EXPECT_EQ(s.table().k, 2.0f);
  EXPECT_EQ(s.table().n[2], 1001.0f);
}

TEST(GroupLoader, ListingOfTheValuesRead) {
  GroupSession s;
  s.write_records({{"5", "1.5"}, {"3", "0"}, {"5", "123456"}, {"3", "-12345"}, {"5", "-0.25"}, {"4", "7"}});
  s.run_groups("U", two_groups("5", "3", true));
  EXPECT_TRUE(s.module.listing);
  // Positions by "###:", values in the 11-character adaptive field.
  EXPECT_EQ(s.body(),
            (std::vector<std::string>{"", "Eingabedatei ist C:\\daten.dat",
                                      "  davon Variable 2 (Wert)  und Gruppen-Var. 1 (Gruppe) = 5 3 ", "", "",
                                      "Gruppe 5 ", "", "  1:     1.5000", "  2:  1.235E+05", "  3:    -0.2500", "", "",
                                      "Gruppe 3 ", "", "  1:     0.0000", "  2: -1.235E+04", "", ""}));
  EXPECT_EQ(s.report().substr(s.report().size() - 4), "\r\n\r\n");
}

TEST(GroupLoader, NoGroupFoundInAllGroupsMode) {
  GroupSession s;
  s.write_records({{"", "1"}, {"x", "2"}});
  s.run_groups("K", all_groups);
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.passes()[0].k, 0.0f);
  EXPECT_EQ(s.body(), (std::vector<std::string>{"", "Eingabedatei ist C:\\daten.dat",
                                                "  davon Variable 2 (Wert)  Alle Gruppen Var. 1 (Gruppe)", "", ""}));
}

TEST(GroupLoader, FileWithoutVariablesShowsNoDialog) {
  GroupSession s;
  s.write_data("Gruppe;N;5;0  Wert;N;6;2\r\n   1     2\r\n");
  EXPECT_EQ(s.run_groups("U", two_groups("1", "2")), 0);
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text,
            "Die  Datei  ist  l e e r  oder  fehlerhaft,\rm\xF6glicherweise bedingt durch Import.");
  EXPECT_TRUE(s.host.dialogs_shown().empty());
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_EQ(s.passes()[0].dialog_result, 0);
  EXPECT_EQ(s.module.data.names[1], "Is nix.");
}

TEST(GroupLoader, ExampleFilesGiveRsGroups) {
  // airquality: Ozone (column 1) by Month (column 5), NA written as blanks.
  GroupSession s;
  s.run_groups("K", "pick 201 4\npick 401 0\ntype 403 0\nenter", VELTRUM_EXAMPLES_DIR "/airquality.dat");
  const SampleTable& t = s.table();
  ASSERT_EQ(t.k, 5.0f);
  // R: table(airquality$Month[!is.na(airquality$Ozone)]) = 26 9 26 26 29
  // R: tapply(airquality$Ozone, airquality$Month, sum, na.rm = TRUE) = 614 265 1537 1559 912
  const int n[] = {26, 9, 26, 26, 29}, sum[] = {614, 265, 1537, 1559, 912};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(t.group_number[i], 4 + i);
    EXPECT_EQ(t.n[i], static_cast<float>(n[i - 1]));
    float total = 0;
    for (float v : values(t, i)) total += v;
    EXPECT_EQ(total, static_cast<float>(sum[i - 1])) << i;
  }
  // R: na.omit(airquality$Ozone[airquality$Month == 6]) = 29 71 39 23 21 37 20 12 13
  EXPECT_EQ(values(t, 2), (std::vector<float>{29, 71, 39, 23, 21, 37, 20, 12, 13}));

  // ToothGrowth: len (column 1) by supp (column 2, 1 = OJ, 2 = VC).
  // R: with(ToothGrowth, tapply(len, supp, sum)) = 619.9 508.9, 30 values each
  GroupSession g;
  g.run_groups("U", "pick 201 1\npick 401 0\ntype 403 1\ntype 404 2\nenter", VELTRUM_EXAMPLES_DIR "/toothgrowth.dat");
  ASSERT_EQ(g.table().k, 2.0f);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(g.table().n[i], 30.0f);
    double total = 0;
    for (float v : values(g.table(), i)) total += v;
    EXPECT_NEAR(total, i == 1 ? 619.9 : 508.9, 1e-4);
  }
}

TEST(GroupLoader, CancelledDialogOpensNoReport) {
  GroupSession s;
  s.write_records({{"1", "1"}, {"2", "2"}});
  s.run_groups("U", "pick 201 0\nescape");
  EXPECT_EQ(s.passes()[0].dialog_result, 0);
  EXPECT_EQ(s.passes()[0].k, 0.0f);
  EXPECT_EQ(s.host.repaints(), 1);
  EXPECT_FALSE(std::filesystem::exists(s.drive.path() / "Ausgabe"));
}

}  // namespace
}  // namespace veltrum
