// Letters N and T through a whole Veltrum call: the golden reports (tests/golden/
// make_score_golden.py) and the checks that end the test with a message.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/error_trap.hpp"
#include "group_test_support.hpp"
#include "independent/mantel_haenszel.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::GroupSession;
using Records = std::vector<std::pair<std::string, std::string>>;

// Both variables chosen, groups a and b, Rechnen; the dialog that comes back is cancelled.
std::string two_groups(int a, int b) {
  return "pick 201 0\npick 401 1\ntype 403 " + std::to_string(a) + "\ntype 404 " + std::to_string(b) +
         "\nenter\nescape";
}
const std::string all_groups = "pick 201 0\npick 401 1\ntype 403 0\nenter\nescape";

Records records(const std::vector<int>& groups, const std::vector<int>& values) {
  Records rows;
  for (std::size_t i = 0; i < groups.size(); ++i)
    rows.push_back({std::to_string(groups[i]), std::to_string(values[i])});
  return rows;
}

// R: cat(mtcars$am + 1, sep = ", "); cat(mtcars$cyl, sep = ", ")
Records mtcars() {
  return records({2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2},
                 {6, 6, 4, 6, 8, 6, 8, 4, 4, 6, 6, 8, 8, 8, 8, 8, 8, 4, 4, 4, 4, 8, 8, 8, 8, 4, 4, 4, 8, 6, 8, 4});
}

// R: cat(InsectSprays$count, sep = ", "), sprays A..F as groups 1..6, 12 plots each.
Records insect_sprays() {
  const std::vector<int> count = {10, 7,  20, 14, 14, 12, 10, 23, 17, 20, 14, 13, 11, 17, 21, 11, 16, 14,
                                  17, 17, 19, 21, 7,  13, 0,  1,  7,  2,  3,  1,  2,  1,  3,  0,  1,  4,
                                  3,  5,  12, 6,  4,  3,  5,  5,  5,  5,  2,  4,  3,  5,  3,  5,  3,  6,
                                  1,  1,  3,  2,  6,  4,  11, 9,  15, 22, 15, 16, 13, 10, 26, 26, 24, 13};
  std::vector<int> spray;
  for (int i = 0; i < 72; ++i) spray.push_back(i / 12 + 1);
  return records(spray, count);
}

TEST(MantelHaenszelEntry, ReportsMatchTheGoldenFiles) {
  GroupSession n;
  n.write_records(mtcars());
  EXPECT_EQ(n.run("N", two_groups(1, 2), "C:\\daten.dat"), 0);
  EXPECT_TRUE(n.host.messages().empty());
  EXPECT_EQ(n.host.viewer_calls().size(), 1u);
  EXPECT_EQ(n.host.dialogs_shown(), (std::vector<std::string>{"UTEST", "UTEST"}));
  EXPECT_EQ(n.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/N_mtcars.txt"));

  GroupSession t;
  t.write_records(insect_sprays());
  EXPECT_EQ(t.run("T", all_groups, "C:\\daten.dat"), 0);
  EXPECT_TRUE(t.host.messages().empty());
  EXPECT_EQ(t.host.dialogs_shown(), (std::vector<std::string>{"KRUSKAL", "KRUSKAL"}));
  EXPECT_EQ(t.report(), testing::read_bytes(VELTRUM_GOLDEN_DIR "/T_insectsprays.txt"));
}

TEST(MantelHaenszelEntry, ChecksEndTheTestWithAMessageAndOfferTheDialogAgain) {
  // n values 1..n in two alternating groups.
  // Values 1..n, each `times` times, in two alternating groups.
  const auto distinct = [](int n, int times) {
    std::vector<int> g, x;
    for (int t = 0; t < times; ++t)
      for (int v = 1; v <= n; ++v) g.push_back((v + t) % 2 + 1), x.push_back(v);
    return records(g, x);
  };
  const auto groups_of_two = [](int k) {
    std::vector<int> g, x;
    for (int i = 1; i <= k; ++i) g.insert(g.end(), {i, i}), x.insert(x.end(), {1, 2});
    return records(g, x);
  };
  const struct {
    const char* name;
    const char* letter;
    Records data;
    std::string script;
    std::string caption, text;  // empty: a report and no message
  } cases[] = {
      {"a group of one value", "N", records({1, 2, 2, 2}, {3, 1, 2, 7}), two_groups(1, 2), " Vorsicht!",
       "Der Stichprobenumfang mindestens einer Gruppe ist zu klein!"},
      {"250 distinct values, each twice", "N", distinct(250, 2), two_groups(1, 2), "", ""},
      {"251 distinct values", "N", distinct(251, 1), two_groups(1, 2), " Vorsicht!",
       "Der Test ist nur für <=250 verschiedene Scores möglich.\rAlternativ steht der Wilcoxon-  bzw. der "
       "Kruskal-Wallis-\rTest zur Verfügung."},
      {"T with one group", "T", groups_of_two(3), "pick 201 0\npick 401 1\ntype 403 1\nenter\ntype 404 2\nenter\nenter",
       " Vorsicht!", "Es müssen mindestens 2 Gruppen vorhanden sein!"},
      {"T with ten groups", "T", groups_of_two(10), all_groups, "", ""},
      {"T with eleven groups", "T", groups_of_two(11), all_groups, " Achtung!", std::string(index_error_text)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GroupSession s;
    s.write_records(c.data);
    s.run(c.letter, c.script, "C:\\daten.dat");
    if (c.text.empty()) {
      EXPECT_TRUE(s.host.messages().empty());
      EXPECT_EQ(s.host.viewer_calls().size(), 1u);
      EXPECT_TRUE(testing::contains_text(s.report_lines(), "Prüfgröße: Chi²="));
      continue;
    }
    ASSERT_EQ(s.host.messages().size(), 1u);
    EXPECT_EQ(s.host.messages()[0].caption, c.caption);
    EXPECT_EQ(s.host.messages()[0].text, c.text);
    EXPECT_TRUE(s.host.viewer_calls().empty());
    EXPECT_EQ(s.host.dialogs_shown().size(), 2u);  // the re-run request shows the dialog again
    EXPECT_FALSE(testing::contains_text(s.report_lines(), "Prüfgröße"));
  }
}

}  // namespace
}  // namespace veltrum
