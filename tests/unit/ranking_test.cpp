// Pooling and ranking with ties, the tie sum, and the group summary table of the rank tests.
#include <gtest/gtest.h>

#include <random>

#include "independent/ranking.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_table;
using testing::written_lines;

TEST(Ranking, TiedValuesShareTheirMeanRankAndAddToTheTieSum) {
  SampleTable t = make_table({{3, 1, 4, 1}, {5, 9, 2, 6, 5}});
  const Ranking r = rank_groups(t);
  // R: rank(c(3, 1, 4, 1, 5, 9, 2, 6, 5)) = 4 1.5 5 1.5 6.5 9 3 8 6.5
  const float expected[2][5] = {{4, 1.5f, 5, 1.5f, 0}, {6.5f, 9, 3, 8, 6.5f}};
  for (int j = 1; j <= 4; ++j) EXPECT_EQ(t.rank(1, j), expected[0][j - 1]) << j;
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(t.rank(2, j), expected[1][j - 1]) << j;
  EXPECT_EQ(r.total, 9);
  EXPECT_EQ(r.rank_sum[1], 12.0f);
  EXPECT_EQ(r.rank_sum[2], 33.0f);
  // Two blocks of two: T = 2 (2^3 - 2) = 12.
  EXPECT_EQ(r.ties, 12.0L);

  // A block of four and one of three: T = (64 - 4) + (27 - 3) = 84.
  SampleTable u = make_table({{2, 2, 7, 7}, {2, 7, 2, 1}});
  const Ranking ru = rank_groups(u);
  EXPECT_EQ(ru.ties, 84.0L);
  // R: rank(c(2, 2, 7, 7, 2, 7, 2, 1)) = 3.5 3.5 7 7 3.5 7 3.5 1
  EXPECT_EQ(u.rank(1, 1), 3.5f);
  EXPECT_EQ(u.rank(1, 3), 7.0f);
  EXPECT_EQ(u.rank(2, 4), 1.0f);
  EXPECT_EQ(ru.rank_sum[1], 21.0f);
  EXPECT_EQ(ru.rank_sum[2], 15.0f);
}

// The tie sum of two groups pooled, counted directly: every value's multiplicity t in both
// groups together, t^3 - t summed over the distinct values (R: t <- table(c(a, b)); sum(t^3 - t)).
std::int64_t pooled_tie_sum(std::vector<float> a, const std::vector<float>& b) {
  a.insert(a.end(), b.begin(), b.end());
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    bool first = true;
    std::int64_t t = 0;
    for (std::size_t j = 0; j < a.size(); ++j) {
      if (a[j] == a[i]) ++t;
      if (a[j] == a[i] && j < i) first = false;
    }
    if (first) sum += t * t * t - t;
  }
  return sum;
}

TEST(Ranking, PairTieSumsEqualTheTieSumsOfTheTwoGroupsPooled) {
  SampleTable t = make_table({{3, 1, 4, 1}, {5, 9, 2, 6, 5}, {1, 5}, {-0.0f, 8, 0, 0}});
  rank_groups(t);
  EXPECT_EQ(sort_groups(t)[0].values, (std::vector<float>{1, 1, 3, 4}));
  const PairTieSums sums(t);
  // R: t <- table(c(3, 1, 4, 1, 5, 9, 2, 6, 5)); sum(t^3 - t) = 12 (two blocks of two)
  EXPECT_EQ(sums(1, 2), 12);
  // R: t <- table(c(3, 1, 4, 1, 1, 5)); sum(t^3 - t) = 24 (1 three times, split between groups)
  EXPECT_EQ(sums(1, 3), 24);
  EXPECT_EQ(sums(3, 1), 24);
  // R: t <- table(c(5, 9, 2, 6, 5, 1, 5)); sum(t^3 - t) = 24
  EXPECT_EQ(sums(2, 3), 24);
  // Minus zero equals zero: a block of three in group 4.
  // R: t <- table(c(0, 8, 0, 0, 3, 1, 4, 1)); sum(t^3 - t) = 30; with c(1, 5): 24
  EXPECT_EQ(sums(4, 1), 30);
  EXPECT_EQ(sums(4, 3), 24);

  // Random tables of 2 to 100 groups on coarse and fine grids, every pair against the direct
  // count of its pool.
  std::mt19937 random(5);
  for (int trial = 0; trial < 60; ++trial) {
    const int k = 2 + static_cast<int>(random() % 99), grid = 1 + static_cast<int>(random() % 300);
    std::vector<std::vector<float>> groups(static_cast<std::size_t>(k));
    for (std::size_t i = 0; i < groups.size(); ++i)
      for (int j = 0, n = 1 + static_cast<int>(random() % 30); j < n; ++j)
        groups[i].push_back(static_cast<float>(static_cast<int>(random() % grid) + static_cast<int>(i % 5)) * 0.1f);
    SampleTable table = make_table(groups);
    rank_groups(table);
    const PairTieSums all_pairs(table);
    for (int i = 1; i <= k; ++i)
      for (int j = i + 1; j <= k; ++j) {
        const auto expected =
            pooled_tie_sum(groups[static_cast<std::size_t>(i - 1)], groups[static_cast<std::size_t>(j - 1)]);
        ASSERT_EQ(all_pairs(i, j), expected) << trial << ": " << i << " " << j;
        ASSERT_EQ(all_pairs(j, i), expected);
      }
  }
}

TEST(Ranking, AllHundredGroupsDecodeTheirOwnGroupAndPosition) {
  // 100 groups (capacity 10000 / 100 + 1 = 101 values each); group i holds i + 0.25 and
  // i + 0.5, so its values have the pooled positions 2i - 1 and 2i.
  std::vector<std::vector<float>> groups;
  for (int i = 1; i <= 100; ++i) groups.push_back({static_cast<float>(i) + 0.5f, static_cast<float>(i) + 0.25f});
  SampleTable t = make_table(groups);
  EXPECT_EQ(t.capacity, 101);
  const Ranking r = rank_groups(t);
  EXPECT_EQ(r.total, 200);
  EXPECT_EQ(r.ties, 0.0L);
  for (int i = 1; i <= 100; ++i) {
    EXPECT_EQ(t.rank(i, 1), static_cast<float>(2 * i)) << i;
    EXPECT_EQ(t.rank(i, 2), static_cast<float>(2 * i - 1)) << i;
    EXPECT_EQ(r.rank_sum[i], static_cast<float>(4 * i - 1)) << i;
  }
}

TEST(Ranking, GroupSummaryHasMedianExtremesAndRankSums) {
  SampleTable t = make_table({{3, 1, 4, 1}, {5, 9, 2, 6, 5}}, {7, 12});
  const auto summary = summarise_groups(t, rank_groups(t));
  ASSERT_EQ(summary.size(), 2u);
  // R: median(c(3, 1, 4, 1)) = 2; median(c(5, 9, 2, 6, 5)) = 5
  EXPECT_EQ(summary[0].number, 7);
  EXPECT_EQ(summary[0].median, 2.0f);
  EXPECT_EQ(summary[0].minimum, 1.0f);
  EXPECT_EQ(summary[0].maximum, 4.0f);
  EXPECT_EQ(summary[0].n, 4.0f);
  EXPECT_EQ(summary[0].normed, 3.0f);
  EXPECT_EQ(summary[1].median, 5.0f);
  EXPECT_EQ(summary[1].normed, 6.6f);
  // The values in the table stay in file order.
  EXPECT_EQ(t.x(1, 1), 3.0f);

  // Even count: mean of the two middle values; odd: the middle one.
  EXPECT_EQ(median_of_sorted({1.5f, 2.0f, 7.0f, 100.0f}), 4.5f);
  EXPECT_EQ(median_of_sorted({-3.0f, 1.0f, 2.0f}), 1.0f);
  EXPECT_EQ(median_of_sorted({8.0f}), 8.0f);

  // Columns: "Stichprobe###  |", three adaptive fields of 11, n in "####", "  | ", then R and
  // R/n in "########.#".
  const auto lines = written_lines([&](ReportFile& r) { write_group_summary(r, summary); });
  const std::vector<std::string> expected = {
      "               |     Median    Minimum    Maximum   n  |  Rangsumme  Normiert",
      "---------------+---------------------------------------+---------------------",
      "Stichprobe  7  |     2.0000     1.0000     4.0000   4  |       12.0       3.0",
      "Stichprobe 12  |     5.0000     2.0000     9.0000   5  |       33.0       6.6",
  };
  EXPECT_EQ(lines, expected);
}

TEST(Ranking, LargeRankSumsSwitchTheRankColumnsToTheExponentPicture) {
  GroupSummary big;
  big.number = 3;
  big.median = -12345.0f;
  big.minimum = 0.00005f;
  big.maximum = 123456.0f;
  big.n = 1001;
  big.rank_sum = 1.25e8f;
  big.normed = 124875.125f;
  const auto lines = written_lines([&](ReportFile& r) { write_group_summary(r, {big}); });
  ASSERT_EQ(lines.size(), 3u);
  // " ##.##^^^^" for both rank columns; adaptive fields in their exponent form.
  EXPECT_EQ(lines[2], "Stichprobe  3  | -1.235E+04  5.000E-05  1.235E+051001  |   1.25E+08  1.25E+05");

  // The largest float below 100000000 keeps the fixed picture.
  big.rank_sum = 99999992.0f;
  const auto edge = written_lines([&](ReportFile& r) { write_group_summary(r, {big}); });
  EXPECT_EQ(edge[2].substr(edge[2].rfind("  | ")), "  | 99999992.0  124875.1");
}

}  // namespace
}  // namespace veltrum
