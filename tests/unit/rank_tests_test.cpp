// Letters K and U through a whole Veltrum call: the golden reports, the checks after loading, and
// the choice of the report by the number of groups loaded.
#include <gtest/gtest.h>

#include <fstream>

#include "independent/rank_tests.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_table;
using testing::Session;

// C:\daten.dat with the header "Gruppe;N;5;0 Wert;N;6;2": the group in characters 1 to 6, a
// blank, the value in characters 8 to 13.
struct DataSession : Session {
  void write_records(const std::vector<std::pair<int, std::string>>& rows) {
    std::string bytes = "Gruppe;N;5;0 Wert;N;6;2\r\n";
    for (const auto& [g, x] : rows) {
      const std::string group = std::to_string(g);
      bytes += std::string(6 - group.size(), ' ') + group + " " + std::string(6 - x.size(), ' ') + x + "\r\n";
    }
    std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes;
  }
  int run_letter(std::string_view letter, std::string_view script) { return run(letter, script, "C:\\daten.dat"); }
  std::vector<std::string> body() const {
    const auto lines = report_lines();
    return lines.size() > 5 ? std::vector<std::string>(lines.begin() + 5, lines.end()) : lines;
  }
};

// Both variables chosen, groups a and b, Rechnen; the dialog that comes back is cancelled.
std::string two_groups(int a, int b) {
  return "pick 201 0\npick 401 1\ntype 403 " + std::to_string(a) + "\ntype 404 " + std::to_string(b) +
         "\nenter\nescape";
}
const std::string all_groups = "pick 201 0\npick 401 1\ntype 403 0\nenter\nescape";

// R's ToothGrowth at dose 1.0: supp OJ as group 2, VC as group 1, alternating in the file.
std::vector<std::pair<int, std::string>> tooth_growth() {
  const char* oj[] = {"19.7", "23.3", "23.6", "26.4", "20.0", "25.2", "25.8", "21.2", "14.5", "27.3"};
  const char* vc[] = {"16.5", "16.5", "15.2", "17.3", "22.5", "17.3", "13.6", "14.5", "18.8", "15.5"};
  std::vector<std::pair<int, std::string>> rows;
  for (int i = 0; i < 10; ++i) rows.push_back({2, oj[i]}), rows.push_back({1, vc[i]});
  return rows;
}

// R's chickwts, feeds casein, horsebean, linseed, meatmeal as groups 3, 11, 5, 8, one record of
// each feed in turn (so the groups appear in this order).
std::vector<std::pair<int, std::string>> chick_weights() {
  const std::vector<std::vector<const char*>> feeds = {
      {"368", "390", "379", "260", "404", "318", "352", "359", "216", "222", "283", "332"},
      {"179", "160", "136", "227", "217", "168", "108", "124", "143", "140"},
      {"309", "229", "181", "141", "260", "203", "148", "169", "213", "257", "244", "271"},
      {"325", "257", "303", "315", "380", "153", "263", "242", "206", "344", "258"}};
  const int numbers[] = {3, 11, 5, 8};
  std::vector<std::pair<int, std::string>> rows;
  for (std::size_t j = 0; j < 12; ++j)
    for (std::size_t f = 0; f < 4; ++f)
      if (j < feeds[f].size()) rows.push_back({numbers[f], feeds[f][j]});
  return rows;
}

TEST(RankTests, UReportMatchesTheGoldenFile) {
  DataSession s;
  s.write_records(tooth_growth());
  EXPECT_EQ(s.run_letter("U", two_groups(2, 1)), 0);
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.host.viewer_calls().size(), 1u);
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"UTEST", "UTEST"}));
  EXPECT_EQ(s.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/U_toothgrowth.txt"));
  EXPECT_EQ(s.host.current_cursor(), Cursor::arrow);
}

TEST(RankTests, KReportMatchesTheGoldenFile) {
  DataSession s;
  s.write_records(chick_weights());
  EXPECT_EQ(s.run_letter("K", all_groups), 0);
  EXPECT_TRUE(s.host.messages().empty());
  EXPECT_EQ(s.host.dialogs_shown(), (std::vector<std::string>{"KRUSKAL", "KRUSKAL"}));
  EXPECT_EQ(s.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/K_chickwts.txt"));
}

TEST(RankTests, ListedReportsMatchTheGoldenFiles) {
  // The same sessions with "In der Ausgabe die eingelesenen Daten auflisten" ticked.
  DataSession u;
  u.write_records(tooth_growth());
  u.run_letter("U", "tick 407\n" + two_groups(2, 1));
  EXPECT_EQ(u.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/U_toothgrowth_listing.txt"));

  DataSession k;
  k.write_records(chick_weights());
  k.run_letter("K", "tick 407\n" + all_groups);
  EXPECT_EQ(k.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/K_chickwts_listing.txt"));
}

TEST(RankTests, LetterKWithTwoGroupsWritesTheUReport) {
  DataSession s;
  s.write_records(tooth_growth());
  s.run_letter("K", all_groups);
  const auto golden = testing::crlf_lines(testing::read_bytes(VELTRUM_GOLDEN_DIR "/U_toothgrowth.txt"));
  ASSERT_GT(golden.size(), 5u);
  EXPECT_EQ(s.body(), std::vector<std::string>(golden.begin() + 5, golden.end()));
  EXPECT_EQ(s.report_lines().at(1).rfind("KRUSKAL-WALLIS-TEST ", 0), 0u);
}

TEST(RankTests, TooSmallSamplesEndTheTestAndOfferTheDialogAgain) {
  // Group 1 has a single value.
  DataSession s;
  s.write_records({{1, "3.5"}, {2, "1"}, {2, "2"}, {2, "7"}});
  s.run_letter("U", two_groups(1, 2));
  ASSERT_EQ(s.host.messages().size(), 1u);
  EXPECT_EQ(s.host.messages()[0].text, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");
  EXPECT_EQ(s.host.messages()[0].caption, " Vorsicht!");
  EXPECT_EQ(s.host.messages()[0].style, 0x2030u);
  // The re-run request brings the dialog back without a report (the next pass's loader sets the
  // cancel flag back to "N"; ChecksComeBeforeAnyResultLine sees the "J").
  EXPECT_TRUE(s.host.viewer_calls().empty());
  EXPECT_EQ(s.host.dialogs_shown().size(), 2u);

  // All groups of a file with only one group.
  DataSession t;
  t.write_records({{4, "1"}, {4, "2"}, {4, "3"}});
  t.run_letter("K", all_groups);
  ASSERT_EQ(t.host.messages().size(), 1u);
  EXPECT_EQ(t.host.messages()[0].text, "Es m\xFCssen mindestens 2 Gruppen vorhanden sein!");
  EXPECT_EQ(t.host.messages()[0].caption, " Vorsicht!");
  EXPECT_TRUE(t.host.viewer_calls().empty());
  EXPECT_EQ(t.host.dialogs_shown().size(), 2u);
}

TEST(RankTests, ChecksComeBeforeAnyResultLine) {
  Session s;
  open_report(s.module, "Kruskal-Wallis-Test.");
  SampleTable one = make_table({{1, 2, 3}});
  EXPECT_FALSE(analyse_groups(s.module, one));
  EXPECT_EQ(s.module.rerun, Rerun::yes);
  EXPECT_TRUE(s.module.stopped);
  SampleTable small = make_table({{1, 2, 3}, {4, 5}, {6}});
  EXPECT_FALSE(analyse_groups(s.module, small));
  s.module.report.close();
  // Only the header block: nothing was written for the refused tables.
  EXPECT_EQ(s.report_lines().size(), 5u);
  ASSERT_EQ(s.host.messages().size(), 2u);
  EXPECT_EQ(s.host.messages()[1].text, "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!");

  Session t;
  open_report(t.module, "Kruskal-Wallis-Test.");
  SampleTable three = make_table({{1, 2, 3}, {4, 5}, {6, 0.5f}});
  const auto result = analyse_groups(t.module, three);
  ASSERT_TRUE(result);
  write_rank_test(t.module.report, *result);
  t.module.report.close();
  EXPECT_EQ(t.report_lines().at(5),
            "Pr\xFC"
            "fgr\xF6\xDF"
            "e f\xFCr den Globaltest:");
  EXPECT_TRUE(t.host.messages().empty());
}

}  // namespace
}  // namespace veltrum
