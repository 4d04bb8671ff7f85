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

#include "frame/errors.hpp"
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

TEST(MantelHaenszel, CountTableHoldsTheDistinctValuesAndTheMargins) {
  // mtcars cyl by am (R: split(mtcars$cyl, mtcars$am)): R table(mtcars$am, mtcars$cyl) = 3 4 12 / 8 3 2
  const MantelHaenszel r = mantel_haenszel(
      make_table({{6, 8, 6, 8, 4, 4, 6, 6, 8, 8, 8, 8, 8, 8, 4, 8, 8, 8, 8}, {6, 6, 4, 4, 4, 4, 4, 4, 4, 8, 6, 8, 4}}));
  EXPECT_EQ(r.scores, (std::vector<float>{4, 6, 8}));
  EXPECT_EQ(r.counts, (std::vector<std::vector<float>>{{3, 4, 12}, {8, 3, 2}}));
  EXPECT_EQ(r.row_totals, (std::vector<float>{19, 13}));
  EXPECT_EQ(r.column_totals, (std::vector<float>{11, 7, 14}));
  EXPECT_EQ(r.total, 32.0f);
}

TEST(MantelHaenszel, AgreesWithAgrestisPublishedTrendTest) {
  // Agresti, Categorical Data Analysis (2nd ed. 2002), Table 3.7 and section 3.4: malformation
  // (absent, present) by alcohol consumption; M^2 = 6.57 with scores 0, 0.5, 1.5, 4, 7 and 1.83
  // with scores 1..5.  R: (N - 1) * cor(x, g)^2 = 6.5699322459904907, p = 0.0103715899166313;
  // 1.827759638372797, p = 0.176392395173773.
  const std::vector<std::vector<float>> counts = {{17066, 14464, 788, 126, 37}, {48, 38, 5, 1, 1}};
  MantelHaenszel r = mean_score_test({0, 0.5f, 1.5f, 4, 7}, counts);
  EXPECT_NEAR(r.chi2, 6.5699322459904907, 1e-5);
  EXPECT_NEAR(r.p, 0.0103715899166313, 2e-7);
  EXPECT_EQ(r.total, 32574.0f);
  r = mean_score_test({1, 2, 3, 4, 5}, counts);
  EXPECT_NEAR(r.chi2, 1.827759638372797, 1e-5);
  EXPECT_NEAR(r.p, 0.176392395173773, 2e-7);
}

TEST(MantelHaenszel, LimitsOfTheScoresAndGroups) {
  // 250 distinct values are accepted, a 251st is refused (two groups, values 1..L alternating).
  for (const int distinct : {250, 251}) {
    std::vector<std::vector<float>> groups(2);
    for (int x = 1; x <= distinct; ++x) groups[static_cast<std::size_t>(x % 2)].push_back(static_cast<float>(x));
    const MantelHaenszel r = mantel_haenszel(make_table(groups));
    EXPECT_EQ(r.too_many_scores, distinct > 250) << distinct;
    EXPECT_EQ(r.scores.size(), distinct > 250 ? 0u : 250u) << distinct;
  }
  // Ties do not count twice: 500 values with 250 distinct ones.
  std::vector<std::vector<float>> twice(2);
  for (int x = 1; x <= 250; ++x) twice[0].push_back(static_cast<float>(x)), twice[1].push_back(static_cast<float>(x));
  EXPECT_FALSE(mantel_haenszel(make_table(twice)).too_many_scores);

  // Ten groups fill the count table; an eleventh is beyond it.
  std::vector<std::vector<float>> groups(10, std::vector<float>{1, 2});
  EXPECT_NO_THROW(mantel_haenszel(make_table(groups)));
  groups.push_back({1, 2});
  EXPECT_THROW(mantel_haenszel(make_table(groups)), IndexError);
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
    float n;
    int width, per_line;
  } cases[] = {{9, 1, 35},   {10, 2, 23},  {12, 2, 23},   {99, 2, 23},
               {100, 3, 17}, {999, 3, 17}, {1000, 4, 14}, {10010, 5, 11}};
  for (const auto& c : cases) {
    const CellLayout layout = cell_layout(c.n);
    EXPECT_EQ(layout.width, c.width) << c.n;
    EXPECT_EQ(layout.per_line, c.per_line) << c.n;
  }
}

TEST(MantelHaenszel, ReportLinesForTwoGroups) {
  // N = 9: one-digit cells, 35 a line.  R: mh(list(c(1,1,2,3), c(2,3,3,3,1))) gives
  // chi = 1.090322580645161, p = 0.296399746487547.
  const auto lines = written_lines([](ReportFile& rep) {
    write_mantel_haenszel(rep, mantel_haenszel(make_table({{1, 1, 2, 3}, {2, 3, 3, 3, 1}})));
  });
  const std::vector<std::string> expected = {
      "Scores der Zielgröße (Spalten):",
      "",
      " 1 2 3",
      "",
      "",
      "Ermittelte Tafel (Zeilen=Gruppen):",
      "",
      " 2 1 1| 4",
      " 1 1 3| 5",
      "------+--",
      " 3 2 4| 9",
      "",
      "",
      "Prüfgröße: Chi²=1.0903 mit fg=1 und p=0.296400",
      "",
      "",
      "Literatur:",
      "Mantel, N.: Chi-square tests with one degree of freedom; extensions of the",
      "   Mantel-Haenszel procedure. J. Amer. Statist. Assoc. 58 (1963), 690-700.",
  };
  EXPECT_EQ(lines, expected);
}

// Expected table lines for 2 groups over L scores with counts a(s), b(s), cells of width w.
std::string cells(const std::vector<int>& values, std::size_t from, std::size_t to, int width) {
  std::string text;
  for (std::size_t s = from; s < to; ++s) {
    const std::string v = std::to_string(values[s]);
    text += " " + std::string(static_cast<std::size_t>(width) - v.size(), ' ') + v;
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
    const MantelHaenszel r =
        mean_score_test(scores, {std::vector<float>(a.begin(), a.end()), std::vector<float>(b.begin(), b.end())});
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
        mean_score_test(scores, {std::vector<float>(scores.size(), 1.0f), std::vector<float>(scores.size(), 0.0f)});
    auto lines = written_lines([&](ReportFile& rep) { write_mantel_haenszel(rep, r); });
    const auto end = std::find(lines.begin() + 2, lines.end(), "Ermittelte Tafel (Zeilen=Gruppen):");
    return std::vector<std::string>(lines.begin() + 2, end);
  };
  std::vector<float> scores;
  std::string first;
  for (int s = 0; s < 16; ++s) scores.push_back(static_cast<float>(1000 + s));
  for (int s = 0; s < 15; ++s) first += " " + std::to_string(1000 + s);
  EXPECT_EQ(score_lines(scores), (std::vector<std::string>{first, " 1015", "", ""}));
  EXPECT_EQ(score_lines({-2.5f, -1, 0, 0.25f, 3}), (std::vector<std::string>{" -2.5 -1 0 .25 3", "", ""}));
}

TEST(MantelHaenszel, LiteratureHasFourLinesFromThreeGroups) {
  const struct {
    std::vector<std::vector<float>> groups;
    std::size_t reference_lines;
  } cases[] = {{{{1, 2}, {2, 3}}, 2}, {{{1, 2}, {2, 3}, {1, 3}}, 4}, {{{1, 2}, {2, 3}, {1, 3}, {1, 1}}, 4}};
  for (const auto& c : cases) {
    const auto lines =
        written_lines([&](ReportFile& rep) { write_mantel_haenszel(rep, mantel_haenszel(make_table(c.groups))); });
    const auto at = std::find(lines.begin(), lines.end(), "Literatur:");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(static_cast<std::size_t>(lines.end() - at - 1), c.reference_lines) << c.groups.size();
  }
}

}  // namespace
}  // namespace veltrum
