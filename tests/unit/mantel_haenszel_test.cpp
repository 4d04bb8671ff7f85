// Letters N and T: scores, count table, the mean-score chi-square and its report lines.
//
// Reference values: Agresti's published example, and this direct computation in R of
// (N - 1) A / B (A: weighted squared deviations of the group mean scores, B: of the scores):
//
//   mh <- function(groups) {
//     x <- unlist(groups); g <- factor(rep(seq_along(groups), sapply(groups, length)))
//     N <- length(x); m <- mean(x); mi <- tapply(x, g, mean); Ri <- table(g)
//     A <- sum(Ri * (mi - m)^2); B <- sum((x - m)^2)
//     chi <- (N - 1) * A / B; df <- length(groups) - 1
//     c(chi = chi, df = df, p = pchisq(chi, df, lower.tail = FALSE))
//   }
//
// For two groups the same numbers come from (N - 1) * cor(x, g)^2 (Agresti's M^2), for k groups
// from (N - 1) * summary(lm(x ~ factor(g)))$r.squared; both were checked to agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "independent/mantel_haenszel.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_table;
using testing::written_lines;

struct StatisticCase {
  const char* name;
  std::vector<std::vector<float>> groups;
  double chi2, p;
  int df;
};

TEST(MantelHaenszel, StatisticAgreesWithADirectComputationInR) {
  // R's InsectSprays, count by spray A..F: 24 distinct scores 0..26.
  const std::vector<std::vector<float>> insect_sprays = {{10, 7, 20, 14, 14, 12, 10, 23, 17, 20, 14, 13},
                                                         {11, 17, 21, 11, 16, 14, 17, 17, 19, 21, 7, 13},
                                                         {0, 1, 7, 2, 3, 1, 2, 1, 3, 0, 1, 4},
                                                         {3, 5, 12, 6, 4, 3, 5, 5, 5, 5, 2, 4},
                                                         {3, 5, 3, 5, 3, 6, 1, 1, 3, 2, 6, 4},
                                                         {11, 9, 15, 22, 15, 16, 13, 10, 26, 26, 24, 13}};
  std::vector<std::vector<float>> round_robin(10);  // 1..250 dealt to 10 groups
  for (int x = 1; x <= 250; ++x) round_robin[static_cast<std::size_t>((x - 1) % 10)].push_back(static_cast<float>(x));

  const StatisticCase cases[] = {
      // R: mh(list(c(1,1,2,2,3), c(2,3,3,3,3))) and the same with 3 -> 10: the ranks are the same,
      // the scores are not, so the statistics differ.
      {"scores 1 2 3", {{1, 1, 2, 2, 3}, {2, 3, 3, 3, 3}}, 3.6885245901639334, 0.0547880602149449, 1},
      {"scores 1 2 10", {{1, 1, 2, 2, 10}, {2, 10, 10, 10, 10}}, 3.4256756756756754, 0.0641899711772808, 1},
      // R: mh(split(mtcars$cyl, mtcars$am)) = (32 - 1) * cor(mtcars$cyl, mtcars$am)^2
      {"mtcars cyl by am",
       {{6, 8, 6, 8, 4, 4, 6, 6, 8, 8, 8, 8, 8, 8, 4, 8, 8, 8, 8}, {6, 6, 4, 4, 4, 4, 4, 4, 4, 8, 6, 8, 4}},
       8.46666188957759225,
       0.00361714620085878,
       1},
      // R: mh(split(InsectSprays$count, InsectSprays$spray)); p below single precision near 1
      {"InsectSprays", insect_sprays, 51.4351701049584, 0.0, 5},
      // R: mh(list(c(-2,-2,-1,0,0.5), c(-1,0,0,0.5,0.5,3), c(-2,3,3,0.5)))
      {"negative and fractional scores",
       {{-2, -2, -1, 0, 0.5f}, {-1, 0, 0, 0.5f, 0.5f, 3}, {-2, 3, 3, 0.5f}},
       3.385869565217392,
       0.183978793154847,
       2},
      // R: mh(split(1:250, rep(1:10, 25))): 250 scores and 10 groups, the table's limits
      {"250 scores, 10 groups", round_robin, 0.394422310756972, 0.999989074157664, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MantelHaenszel r = mantel_haenszel(make_table(c.groups));
    ASSERT_FALSE(r.too_many_scores);
    EXPECT_FALSE(r.single_score);
    EXPECT_NEAR(r.chi2, c.chi2, 1e-6 * c.chi2);
    EXPECT_EQ(r.df, c.df);
    EXPECT_NEAR(r.p, c.p, 2e-7);  // 1 - FNChi, FNChi a single-precision value
  }
}

TEST(MantelHaenszel, AgreesWithAgrestisPublishedTrendTest) {
  // Agresti, Categorical Data Analysis (2nd ed. 2002), Table 3.7 and section 3.4: malformation
  // (absent, present) by alcohol consumption; M^2 = 6.57 with scores 0, 0.5, 1.5, 4, 7 and 1.83
  // with scores 1..5.  R: (N - 1) * cor(x, g)^2 = 6.5699322459904907, p = 0.0103715899166313;
  // 1.827759638372797, p = 0.176392395173773.
  const std::vector<std::vector<int>> counts = {{17066, 14464, 788, 126, 37}, {48, 38, 5, 1, 1}};
  MantelHaenszel r = mean_score_test({0, 0.5f, 1.5f, 4, 7}, counts);
  EXPECT_NEAR(r.chi2, 6.5699322459904907, 1e-5);
  EXPECT_NEAR(r.p, 0.0103715899166313, 2e-7);
  EXPECT_EQ(r.total, 32574);
  r = mean_score_test({1, 2, 3, 4, 5}, counts);
  EXPECT_NEAR(r.chi2, 1.827759638372797, 1e-5);
  EXPECT_NEAR(r.p, 0.176392395173773, 2e-7);
}

TEST(MantelHaenszel, ASingleDistinctValueGivesChiSquareZeroAndPOne) {
  // B = 0: every group has the same mean score, so the statistic is 0/0.  The permutation
  // distribution is a single point: the exact conditional p is 1.
  for (const std::size_t k : {2u, 3u}) {
    const MantelHaenszel r = mantel_haenszel(make_table(std::vector<std::vector<float>>(k, {7.5f, 7.5f, 7.5f})));
    EXPECT_TRUE(r.single_score);
    EXPECT_EQ(r.scores, std::vector<float>{7.5f});
    EXPECT_EQ(r.chi2, 0.0f);
    EXPECT_EQ(r.p, 1.0f);
    EXPECT_EQ(r.df, static_cast<int>(k) - 1);
    const auto lines = written_lines([&](ReportFile& rep) { write_mantel_haenszel(rep, r); });
    EXPECT_TRUE(
        testing::contains_line(lines, "Prüfgröße: Chi²=0.0000 mit fg=" + std::to_string(k - 1) + " und p=1.000000"));
  }
}

TEST(MantelHaenszel, CellWidthIsTheNumberOfDigitsOfN) {
  const struct {
    int n, width, per_line;
  } cases[] = {{9, 1, 35},   {10, 2, 23},  {12, 2, 23},   {99, 2, 23},
               {100, 3, 17}, {999, 3, 17}, {1000, 4, 14}, {10010, 5, 11}};
  for (const auto& c : cases) {
    const CellLayout layout = cell_layout(c.n);
    EXPECT_EQ(layout.width, c.width) << c.n;
    EXPECT_EQ(layout.per_line, c.per_line) << c.n;
  }
}

// Expected table lines for 2 groups over L scores with counts a(s), b(s), cells of width w.
std::string cells(const std::vector<int>& values, std::size_t from, std::size_t to, int width) {
  std::string text;
  for (std::size_t s = from; s < to; ++s) {
    const std::string v = std::to_string(values[s]);
    text += ' ';
    text.append(static_cast<std::size_t>(width) - v.size(), ' ');
    text += v;
  }
  return text;
}

TEST(MantelHaenszel, TableRowsWrapAfterQCells) {
  // N = 48 or 47: two-digit cells, 23 a line.  With 46 scores (a multiple of 23) the rule ends
  // with "+"; with 45 it does not.
  for (const std::size_t l : {46u, 45u}) {
    SCOPED_TRACE(l);
    std::vector<float> scores;
    std::vector<int> a(l, 1), b(l, 0), c(l, 1);
    b[0] = 2;
    c[0] = 3;
    for (std::size_t s = 0; s < l; ++s) scores.push_back(static_cast<float>(s + 1));
    const MantelHaenszel r = mean_score_test(scores, {a, b});
    const auto lines = written_lines([&](ReportFile& rep) { write_mantel_haenszel(rep, r); });
    const std::string n = std::to_string(l + 2);
    std::vector<std::string> expected = {
        cells(a, 0, 23, 2),
        cells(a, 23, l, 2) + "| " + std::to_string(l),
        cells(b, 0, 23, 2),
        cells(b, 23, l, 2) + "|  2",
        std::string(69, '-') + (l == 46 ? "+---" : ""),
        cells(c, 0, 23, 2),
        cells(c, 23, l, 2) + "| " + n,
    };
    const auto table = std::find(lines.begin(), lines.end(), "Ermittelte Tafel (Zeilen=Gruppen):");
    ASSERT_GT(lines.end() - table, 8);
    EXPECT_EQ(std::vector<std::string>(table + 2, table + 9), expected);
  }
}

TEST(MantelHaenszel, ScoreListBreaksAfterSeventyCharacters) {
  // Each score 1000.. takes 5 characters: the 15th makes 75 > 70, so lines hold 15 scores.
  // Negative scores get a blank before their minus sign.
  auto score_lines = [](const std::vector<float>& scores) {
    const MantelHaenszel r =
        mean_score_test(scores, {std::vector<int>(scores.size(), 1), std::vector<int>(scores.size(), 0)});
    auto lines = written_lines([&](ReportFile& rep) { write_mantel_haenszel(rep, r); });
    const auto end = std::find(lines.begin() + 2, lines.end(), "Ermittelte Tafel (Zeilen=Gruppen):");
    return std::vector<std::string>(lines.begin() + 2, end);
  };
  std::vector<float> scores;
  std::string first;
  for (int s = 0; s < 16; ++s) scores.push_back(static_cast<float>(1000 + s));
  for (int s = 0; s < 15; ++s) first.append(" ").append(std::to_string(1000 + s));
  EXPECT_EQ(score_lines(scores), (std::vector<std::string>{first, " 1015", "", ""}));
  EXPECT_EQ(score_lines({-2.5f, -1, 0, 0.25f, 3}), (std::vector<std::string>{" -2.5 -1 0 .25 3", "", ""}));
}

}  // namespace
}  // namespace veltrum
