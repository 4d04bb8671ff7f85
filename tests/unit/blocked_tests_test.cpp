// Letters F and O through whole Veltrum calls: the golden reports, the FRIEDMAN dialog's checks,
// the blocked loader (records, groups, missing values, input block, listing, capacity) and the
// checks before the computation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "VELTRUM_R.h"
#include "test_support.hpp"

namespace veltrum {
namespace {

using testing::Session;

struct BlockSession : Session {
  // C:\daten.dat: the header of `names` (width `width` each) and the rows, right-aligned.
  void write_data(const std::vector<std::string>& names, int width, const std::vector<std::vector<std::string>>& rows) {
    std::string bytes;
    for (std::size_t k = 0; k < names.size(); ++k)
      bytes += (k ? " " : "") + names[k] + ";N;" + std::to_string(width) + ";1";
    bytes += "\r\n";
    for (const auto& row : rows) {
      for (std::size_t k = 0; k < row.size(); ++k) {
        const int w = k == 0 ? width + 1 : width;
        if (k) bytes += ' ';
        bytes.append(w - row[k].size(), ' ');
        bytes += row[k];
      }
      bytes += "\r\n";
    }
    std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes;
  }
  void copy_example(const std::string& name) {
    std::filesystem::copy_file(std::filesystem::path(VELTRUM_EXAMPLES_DIR) / name, drive.path() / "daten.dat");
  }
  int run_f(const std::string& script) { return run("F", script, "C:\\daten.dat"); }
  std::vector<std::string> body() const {
    const auto lines = report_lines();
    return lines.size() > 5 ? std::vector<std::string>(lines.begin() + 5, lines.end()) : lines;
  }
  std::vector<std::string> message_texts() const {
    std::vector<std::string> texts;
    for (const auto& m : host.messages()) texts.push_back(m.caption + "|" + m.text);
    return texts;
  }
};

// Selects targets (list entries from 0), optionally ticks the listing, Rechnen; the dialog that
// comes back is cancelled.
std::string targets(std::initializer_list<int> entries, const std::string& more = "") {
  std::string s;
  for (const int e : entries) s += "select 107 " + std::to_string(e) + "\n";
  return s + more + "enter\nescape\n";
}

std::vector<std::vector<std::string>> numbered(int rows, int columns) {
  std::vector<std::vector<std::string>> r;
  for (int i = 0; i < rows; ++i) {
    std::vector<std::string> row;
    for (int k = 0; k < columns; ++k) row.push_back(std::to_string((i * 7 + k * 3) % 10));
    r.push_back(row);
  }
  return r;
}

TEST(BlockedTests, FriedmanReportsMatchTheGoldenFiles) {
  BlockSession ww;
  ww.copy_example("roundingtimes.dat");
  EXPECT_EQ(ww.run_f(targets({0, 1, 2})), 0);
  EXPECT_TRUE(ww.host.messages().empty());
  EXPECT_EQ(ww.host.viewer_calls().size(), 1u);
  EXPECT_EQ(ww.host.dialogs_shown(), (std::vector<std::string>{"FRIEDMAN", "FRIEDMAN"}));
  EXPECT_EQ(ww.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/F_roundingtimes.txt"));

  BlockSession sh;
  sh.copy_example("attitude.dat");
  EXPECT_EQ(sh.run_f(targets({0, 1, 2, 3, 4, 5, 6}, "tick 304\n")), 0);
  EXPECT_TRUE(sh.host.messages().empty());
  EXPECT_EQ(sh.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/F_attitude_listing.txt"));
}

TEST(BlockedTests, CochranReportMatchesTheGoldenFile) {
  Session s;
  std::string script = "type 1304 8\ntype 1305 3\n";
  for (const char* v : {"1", "1", "0", "1", "1", "1", "0", "1", "0", "1", "1", "0",
                        "0", "0", "0", "1", "1", "1", "1", "1", "0", "1", "0", "0"})
    script += "type 1308 " + std::string(v) + "\nenter\n";
  EXPECT_EQ(s.run("O", script + "enter\nescape\n"), 0);
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"COCHRAN", "COCHRAN"}));
  EXPECT_EQ(s.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/O_8x3.txt"));
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
}

TEST(BlockedTests, DialogChecksKeepTheDialogOpen) {
  BlockSession s;
  s.write_data({"G", "A", "B", "C"}, 4, {{"1", "1", "2", "3"}, {"2", "3", "2", "1"}});
  std::vector<int> focus;
  s.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb == script::Verb::enter || a.verb == script::Verb::answer) focus.push_back(d.focused());
  };
  // One target only; then a group variable without a group number; then a group number without
  // a group variable, answered No and then Yes.
  s.run_f(
      "select 107 1\nenter\nanswer ok\n"
      "select 107 2\nselect 107 3\npick 101 1\nenter\nanswer ok\n"
      "pick 101 0\ntype 102 3\nenter\nanswer no\n"
      "enter\nanswer yes\nescape\n");
  EXPECT_EQ(
      s.message_texts(),
      (std::vector<std::string>{
          " Vorsicht!|Bitte mindestens zwei Zielvariablen ausw\xE4hlen!",
          " Vorsicht!|Bitte eine Gruppennummer gr\xF6\xDF"
          "er als 0 eingeben.\r\rAndere Gruppennummern sind nicht zugelassen !",
          " Vorsicht!|Sie haben keine Gruppenvariable eingegeben.\r\rSoll die Gruppennummer '3' ignoriert werden?",
          " Vorsicht!|Sie haben keine Gruppenvariable eingegeben.\r\rSoll die Gruppennummer '3' ignoriert werden?"}));
  EXPECT_EQ(s.host.messages()[2].style, 0x2034u);
  EXPECT_EQ(focus[0], IDC_FRIEDMAN_TARGETS);
  EXPECT_EQ(focus[1], IDC_FRIEDMAN_GROUP);
  EXPECT_EQ(focus[2], IDC_FRIEDMAN_GROUP_VARIABLE);
  // Yes: group number 0, all records, three targets A, B, C (columns 2..4): a report.
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_EQ(s.module.remembered.whole[1], 0);
  EXPECT_EQ(s.body()[2], "  davon Variablen 2 (A), 3 (B), 4 (C)");
}

TEST(BlockedTests, TooFewRowsOrColumnsEndWithoutReport) {
  // c = 2: the advice, no report, the call ends.
  BlockSession two;
  two.write_data({"A", "B", "C"}, 4, numbered(5, 3));
  EXPECT_EQ(two.run_f(targets({0, 1})), 0);
  EXPECT_EQ(two.message_texts(),
            (std::vector<std::string>{
                " Vorsicht!|F\xFCr c=2 'Spalten' ist der Wilcoxon-matched-pairs-Test trennsch\xE4rfer!"}));
  EXPECT_TRUE(two.host.viewer_calls().empty());
  EXPECT_EQ(two.host.dialogs_shown().size(), 1u);

  // r = 1: too small, the dialog comes back with the targets selected again.
  BlockSession one;
  one.write_data({"A", "B", "C"}, 4, numbered(1, 3));
  std::vector<bool> selected;
  one.host.on_action = [&](const headless::HeadlessDialog& d, const script::Action& a) {
    if (a.verb != script::Verb::escape) return;
    for (int k = 0; k < 3; ++k) selected.push_back(d.item_selected(IDC_FRIEDMAN_TARGETS, k));
  };
  one.run_f(targets({0, 2}));
  EXPECT_EQ(one.message_texts(), (std::vector<std::string>{" Vorsicht!|Der Stichprobenumfang ist zu klein!"}));
  EXPECT_EQ(one.host.dialogs_shown().size(), 2u);
  EXPECT_EQ(selected, (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(one.host.viewer_calls().empty());

  // No record of the chosen group: the empty-sample message (six trailing blanks), dialog again.
  BlockSession none;
  none.write_data({"G", "A", "B", "C"}, 4, {{"1", "1", "2", "3"}, {"2", "3", "2", "1"}});
  none.run_f(targets({1, 2, 3}, "pick 101 1\ntype 102 9\n"));
  EXPECT_EQ(none.message_texts(),
            (std::vector<std::string>{" Vorsicht!|Der Stichprobenumfang mindestens einer Gruppe ist Null!      "}));
  EXPECT_EQ(none.host.dialogs_shown().size(), 2u);
}

TEST(BlockedTests, GroupRecordsMissingValuesAndTheListing) {
  BlockSession s;
  // Group 2 holds rows 1, 3 and 5; row 3 has a missing B, row 5 a blank A.
  s.write_data({"G", "A", "B", "C"}, 4,
               {{"2", "1", "2", "3"},
                {"1", "9", "9", "9"},
                {"2", "4", "", "6"},
                {"2", "3", "2", "1"},
                {"2", "", "1", "1"},
                {"2", "5", "5", "5"}});
  s.run_f(targets({1, 2, 3}, "pick 101 1\ntype 102 2\ntick 304\n"));
  EXPECT_TRUE(s.host.messages().empty());
  const auto body = s.body();
  ASSERT_GT(body.size(), 14u);
  EXPECT_EQ(
      std::vector<std::string>(body.begin(), body.begin() + 14),
      (std::vector<std::string>{
          "", "Eingabedatei ist C:\\daten.dat", "  davon Variablen 2 (A), 3 (B), 4 (C)", "  und Gruppe Var. 1 (G) = 2 ",
          "", "", "Gruppe 2 ", "", "  i    Var.  2    Var.  3    Var.  4", "  1     1.0000     2.0000     3.0000",
          "  2     3.0000     2.0000     1.0000", "  3     5.0000     5.0000     5.0000", "", ""}));
  // Rows (1,2,3), (3,2,1), (2,2,2): R = 6, 6, 6, T = 24.
  EXPECT_EQ(body[14].substr(0, 28), "Friedman's Chi\xB2 =     0.0000");
}

TEST(BlockedTests, ManyTargetsWrapTheVariableLineAndTheListing) {
  BlockSession s;
  std::vector<std::string> names;
  for (int k = 1; k <= 9; ++k) names.push_back(std::string("V").append(std::to_string(k)));
  s.write_data(names, 3, numbered(3, 9));
  s.run_f(targets({0, 1, 2, 3, 4, 5, 6, 7, 8}, "tick 304\n"));
  const auto body = s.body();
  EXPECT_EQ(body[2], "  davon Variablen 1 (V1), 2 (V2), 3 (V3), 4 (V4),");
  EXPECT_EQ(body[3], "                  5 (V5), 6 (V6), 7 (V7), 8 (V8),");
  EXPECT_EQ(body[4], "                  9 (V9)");
  EXPECT_EQ(body[7], "  i    Var.  1    Var.  2    Var.  3    Var.  4    Var.  5    Var.  6    Var.  7");
  EXPECT_EQ(body[8], "       Var.  8    Var.  9");
  // Row 1: 0 3 6 9 2 5 8 | 1 4
  EXPECT_EQ(body[9], "  1     0.0000     3.0000     6.0000     9.0000     2.0000     5.0000     8.0000");
  EXPECT_EQ(body[10], "        1.0000     4.0000");
}

TEST(BlockedTests, RowsBeyondTheCapacityEndInTheIndexMessage) {
  struct Case {
    int rows, columns;
    bool overflow;
  };
  // 1001 rows up to 10 columns; 11 columns hold round(10000 / 11 + 1) = 910 rows.
  const Case cases[] = {{1001, 3, false}, {1002, 3, true}, {910, 11, false}, {911, 11, true}};
  for (const Case& k : cases) {
    BlockSession s;
    std::vector<std::string> names;
    for (int j = 1; j <= k.columns; ++j) names.push_back(std::string("V").append(std::to_string(j)));
    s.write_data(names, 2, numbered(k.rows, k.columns));
    std::string script;
    for (int j = 0; j < k.columns; ++j) script += "select 107 " + std::to_string(j) + "\n";
    s.run_f(script + "enter\nescape\n");
    if (k.overflow) {
      EXPECT_EQ(s.message_texts(), (std::vector<std::string>{" Achtung!|Index\xFC"
                                                             "berschreitung, vgl. Infos/Restriktionen!"}))
          << k.rows << " " << k.columns;
      EXPECT_TRUE(s.host.viewer_calls().empty());
      EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
    } else {
      EXPECT_TRUE(s.host.messages().empty()) << k.rows << " " << k.columns;
      EXPECT_EQ(s.host.viewer_calls().size(), 1u);
    }
  }
}

TEST(BlockedTests, GroupValuesOutsideTheRangeStopTheLoading) {
  BlockSession s;
  s.write_data({"G", "A", "B", "C"}, 4, {{"1", "1", "2", "3"}, {"1001", "1", "2", "3"}});
  s.run_f(targets({1, 2, 3}, "pick 101 1\ntype 102 1\n"));
  EXPECT_EQ(s.message_texts(),
            (std::vector<std::string>{
                " Achtung!|Kalvo. erlaubt keine Gruppenvariablen mit Werten\r<1 bzw. >1000. Der hier vorhandene "
                "Wert 1001\rist deshalb nicht zul\xE4ssig (vgl. Handbuch Kap. 1\roder auch im Hauptmen\xFC 'Infos, "
                "Restriktionen') .\r\rBitte korrigieren Sie die aktive Datei im Editor."}));
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);
  EXPECT_TRUE(s.host.viewer_calls().empty());
}

}  // namespace
}  // namespace veltrum

namespace veltrum {
namespace {

TEST(BlockedTests, WhatTheReportShowsAtTheEdges) {
  // r = 5, c = 3, every record in the same order: chi^2 = 10, F = 9999, the exact-table note.
  BlockSession same;
  same.write_data({"A", "B", "C"}, 4,
                  {{"1", "2", "3"}, {"4", "5", "6"}, {"0", "8", "9"}, {"1", "2", "7"}, {"2", "3", "4"}});
  same.run_f(targets({0, 1, 2}));
  const auto a = same.body();
  ASSERT_GT(a.size(), 14u);
  // R: pchisq(10, 2, lower.tail = FALSE) = 0.00673794699908547
  EXPECT_EQ(a[5], "Friedman's Chi\xB2 =    10.0000 (fg  =  2,            p = 0.006738)");
  EXPECT_EQ(a[6], "Rijkoort-Wise's F =9999.0000 (fg1 =  2, fg2 =   8, p = 0.000000)");
  EXPECT_EQ(a[7], "");
  EXPECT_EQ(a[8], "Exakte Verteilung s. Tavik, Kap.761.");
  EXPECT_EQ(a[13], "Spalten  1 und  2: D =    5.00 ( p > 0.05 )");
  // r = 5, c = 3: d05 = 7.4, d01 = 9.2; |R3 - R1| = 10.
  EXPECT_EQ(a[14], "Spalten  1 und  3: D =   10.00 ( p < 0.01 )");

  // Every record completely tied: the statistic would be 0/0; the report says no difference.
  BlockSession tied;
  tied.write_data({"A", "B", "C", "D"}, 4, {{"1", "1", "1", "1"}, {"3", "3", "3", "3"}});
  tied.run_f(targets({0, 1, 2, 3}));
  const auto b = tied.body();
  ASSERT_GT(b.size(), 11u);
  EXPECT_TRUE(tied.host.messages().empty());
  EXPECT_EQ(b[5], "Friedman's Chi\xB2 =     0.0000 (fg  =  3,            p = 1.000000)");
  EXPECT_EQ(b[6], "Rijkoort-Wise's F =   0.0000 (fg1 =  3, fg2 =   3, p = 1.000000)");
  EXPECT_EQ(b[11], "Spalten  1 und  2: D =    0.00 ( p > 0.05 )");

  // r = 16, c = 3 has no note.
  BlockSession sixteen;
  sixteen.write_data({"A", "B", "C"}, 4, std::vector<std::vector<std::string>>(16, {"1", "2", "3"}));
  sixteen.run_f(targets({0, 1, 2}));
  const auto c = sixteen.body();
  EXPECT_EQ(c[7], "");
  EXPECT_EQ(c[9], "Multiple Vergleiche f\xFCr r<=25 und c<=10: Wilcoxon-Wilcox-Test.");
}

}  // namespace
}  // namespace veltrum
