// Letter W: the signed-rank statistics, the exact and approximate p, the Hodges-Lehmann estimate
// and Tukey's intervals, and the report lines of each branch.
//
// Reference values come from R 4.2: wilcox.test(x, y, paired = TRUE, conf.int = TRUE,
// correct = FALSE, exact = TRUE / FALSE), psignrank, and direct computations written next to the
// numbers.  R drops zero differences everywhere and corrects the variance for ties, so its
// results are compared only on data without zeros and ties.
#include <gtest/gtest.h>

#include <algorithm>

#include "paired/wilcoxon_pairs.hpp"
#include "paired_test_support.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::alternating;
using testing::contains_line;
using testing::make_pairs;
using testing::pairs_with_differences;
using testing::written_lines;

std::vector<std::string> w_report(const WilcoxonPairs& r) {
  return written_lines([&](ReportFile& rep) { write_wilcoxon_pairs(rep, r); });
}

// R: set.seed(7); d <- sample(1:400, n) * sample(c(-1, 1), n, replace = TRUE) + 2;
// y <- sample(100:300, n, replace = TRUE); x <- y + d   (n = 12: no ties, no zeros).
const std::vector<float> x12 = {531, 137, 397, 398, 449, 83, -125, 595, 469, 247, 165, 47};
const std::vector<float> y12 = {231, 238, 201, 125, 229, 199, 265, 270, 299, 223, 222, 135};
// The same draw continued, n = 30.
const std::vector<float> x30 = {367, 137, 510, 314, 237, 222, 556, 492, -155, 505, 319,  592, -101, -111, -7,
                                488, 263, 391, 540, 444, 395, 91,  -89, 87,   314, -163, 493, -68,  327,  116};
const std::vector<float> y30 = {116, 132, 143, 131, 147, 261, 157, 212, 107, 108, 286, 300, 185, 215, 177,
                                142, 187, 215, 160, 127, 153, 203, 252, 117, 117, 208, 258, 248, 270, 186};

TEST(WilcoxonPairs, SmallSampleAgreesWithRsExactTest) {
  const WilcoxonPairs r = wilcoxon_pairs(make_pairs(x12, y12));
  EXPECT_EQ(r.n, 12);
  EXPECT_EQ(r.nonzero, 12);
  EXPECT_EQ(r.r_plus, 52.0f);  // R: sum(rank(abs(d))[d > 0])
  EXPECT_EQ(r.r_minus, 26.0f);
  EXPECT_EQ(r.r_hat, 26.0f);
  ASSERT_TRUE(r.exact);
  EXPECT_NEAR(r.p_exact, 0.33935546875, 1e-6);         // wilcox.test(..., exact = TRUE)$p.value
  EXPECT_NEAR(r.p_approx, 0.30782147190884257, 1e-6);  // wilcox.test(..., exact = FALSE)$p.value
  EXPECT_NEAR(r.z, 1.0198039027185569, 1e-5);          // qnorm(0.30782147190884257 / 2, lower = FALSE)
  EXPECT_EQ(r.hodges_lehmann, 80.0f);                  // wilcox.test(..., exact = TRUE)$estimate
  // wilcox.test(..., exact = TRUE, conf.level = P)$conf.int: R cuts qsignrank((1-P)/2, n) - 1
  // averages off each end, as the table does for n <= 20.
  ASSERT_EQ(r.intervals.size(), 3u);
  const float limits[3][2] = {{-72.5f, 196.0f}, {-88.0f, 234.5f}, {-110.0f, 260.5f}};
  for (std::size_t l = 0; l < 3; ++l) {
    EXPECT_EQ(r.intervals[l].level, tukey_levels[l]);
    EXPECT_EQ(r.intervals[l].lower, limits[l][0]);
    EXPECT_EQ(r.intervals[l].upper, limits[l][1]);
  }
}

TEST(WilcoxonPairs, LargerSampleAgreesWithRsNormalApproximation) {
  // n = 30 takes k from the normal formula.  R's asymptotic interval is the root of the
  // standardised rank sum, found by uniroot to 1e-4: a Walsh average, W(ceiling(a)) with
  // a = n(n+1)/4 - z sd, where the formula takes W(INT(a + 0.5) + 1).  The two agree when the
  // fraction of a is below one half: here at 0.95 (a = 137.21) and 0.99 (a = 107.27), not at 0.90.
  const WilcoxonPairs r = wilcoxon_pairs(make_pairs(x30, y30));
  EXPECT_EQ(r.r_plus, 301.0f);
  EXPECT_EQ(r.r_minus, 164.0f);
  EXPECT_NEAR(r.p_approx, 0.15885549928519563, 1e-6);  // wilcox.test(..., exact = FALSE)$p.value
  EXPECT_NEAR(r.p_exact, 0.16418408229947093, 2e-6);   // wilcox.test(..., exact = TRUE)$p.value
  // M = 465 is odd, so R's root for the estimate is the middle Walsh average itself.
  EXPECT_NEAR(r.hodges_lehmann, 68.499992731951664, 1e-3);
  ASSERT_EQ(r.intervals.size(), 3u);
  EXPECT_NEAR(r.intervals[1].lower, -27.500051062602076, 1e-3);
  EXPECT_NEAR(r.intervals[1].upper, 179.00003433831836, 1e-3);
  EXPECT_NEAR(r.intervals[2].lower, -60.000063939820713, 1e-3);
  EXPECT_NEAR(r.intervals[2].upper, 215.0000730753332, 1e-3);
  // At 0.90, R: W <- sort(walsh averages of d); W[153 + 1], W[465 - 153].
  EXPECT_EQ(r.intervals[0].lower, -12.0f);
  EXPECT_EQ(r.intervals[0].upper, 162.5f);
}

TEST(WilcoxonPairs, SleepDataKeepTheZeroForTheEstimateOnly) {
  // R's sleep data (Student 1908), group 1 as x and group 2 as y: one zero difference and the
  // tie |d| = 1.3.  R: nz <- d[d != 0]; r <- rank(abs(nz)); sum(r[nz > 0]), sum(r[nz < 0]);
  // Z and 2 * pnorm(-Z); 2 * psignrank(0, 9); the Walsh averages of all ten d.
  const WilcoxonPairs r = wilcoxon_pairs(make_pairs({0.7f, -1.6f, -0.2f, -1.2f, -0.1f, 3.4f, 3.7f, 0.8f, 0.0f, 2.0f},
                                                    {1.9f, 0.8f, 1.1f, 0.1f, -0.1f, 4.4f, 5.5f, 1.6f, 4.6f, 3.4f}));
  EXPECT_EQ(r.n, 10);
  EXPECT_EQ(r.nonzero, 9);
  EXPECT_EQ(r.r_plus, 0.0f);
  EXPECT_EQ(r.r_minus, 45.0f);
  EXPECT_NEAR(r.z, 2.6655699499159153, 1e-5);
  EXPECT_NEAR(r.p_approx, 0.0076857940552132707, 1e-6);
  EXPECT_NEAR(r.p_exact, 0.00390625, 1e-8);
  EXPECT_NEAR(r.hodges_lehmann, -1.3, 1e-6);  // median of the 55 Walsh averages
  // Table k for n = 10: 10, 8, 3; R: W[k + 1], W[55 - k].
  ASSERT_EQ(r.intervals.size(), 3u);
  EXPECT_NEAR(r.intervals[0].lower, -2.3, 1e-6);
  EXPECT_NEAR(r.intervals[0].upper, -1.0, 1e-6);
  EXPECT_NEAR(r.intervals[1].lower, -2.7, 1e-6);
  EXPECT_NEAR(r.intervals[1].upper, -0.9, 1e-6);
  EXPECT_NEAR(r.intervals[2].lower, -3.0, 1e-6);
  EXPECT_NEAR(r.intervals[2].upper, -0.6, 1e-6);
}

TEST(WilcoxonPairs, TiedMagnitudesGetMidRanksAndTheExactPAtTheRoundedSum) {
  // |d| = 1, 1, 2, 3: ranks 1.5, 1.5, 3, 4; R+ = 8.5, R- = 1.5, so T = INT(1.5 + 0.5) = 2.
  const WilcoxonPairs r = wilcoxon_pairs(pairs_with_differences({1, -1, 2, 3}));
  EXPECT_EQ(mid_ranks({1, 1, 2, 3}), (std::vector<float>{1.5f, 1.5f, 3, 4}));
  EXPECT_EQ(mid_ranks({3, 1, 3, 3, 0.5f}), (std::vector<float>{4, 2, 4, 4, 1}));
  EXPECT_EQ(r.r_plus, 8.5f);
  EXPECT_EQ(r.r_hat, 1.5f);
  EXPECT_EQ(r.t, 2);
  EXPECT_EQ(r.p_exact, 0.375f);  // R: 2 * psignrank(2, 4)
}

// The branches at their boundaries.
struct BranchCase {
  const char* name;
  std::vector<float> d;
  bool too_small, exact, estimated;
  std::size_t intervals;
};

std::vector<float> with_zeros(std::vector<float> d, int zeros) {
  d.insert(d.end(), static_cast<std::size_t>(zeros), 0.0f);
  return d;
}

TEST(WilcoxonPairs, BranchesChangeAtTheirBoundaries) {
  const BranchCase cases[] = {
      {"all pairs equal", {0, 0, 0, 0, 0}, true, false, false, 0},
      {"one non-zero difference", {0, 2, 0}, true, false, false, 0},
      {"two non-zero differences", {0, 2, -1}, false, true, true, 0},
      {"n = 4: no interval", {1, -2, 3, 4}, false, true, true, 0},
      {"n = 5: the 0.90 interval only", {1, -2, 3, 4, 5}, false, true, true, 1},
      {"n = 20: the table", alternating(20), false, true, true, 3},
      {"n = 21: the formula", alternating(21), false, true, true, 3},
      {"n' = 180: exact", alternating(180), false, true, true, 3},
      {"n' = 181: approximate", alternating(181), false, false, true, 3},
      {"n' = 180 of n = 200", with_zeros(alternating(180), 20), false, true, true, 3},
      {"n = 500: intervals", alternating(500), false, false, true, 3},
      {"n = 501: none", alternating(501), false, false, false, 0},
  };
  for (const BranchCase& c : cases) {
    SCOPED_TRACE(c.name);
    const WilcoxonPairs r = wilcoxon_pairs(pairs_with_differences(c.d));
    EXPECT_EQ(r.n, static_cast<int>(c.d.size()));
    EXPECT_EQ(r.nonzero, std::count_if(c.d.begin(), c.d.end(), [](float v) { return v != 0; }));
    EXPECT_EQ(r.too_small, c.too_small);
    EXPECT_EQ(r.exact, c.exact);
    EXPECT_EQ(r.estimated, c.estimated);
    EXPECT_EQ(r.intervals.size(), c.intervals);
  }
}

TEST(WilcoxonPairs, IntervalsUseAllPairsIncludingZeros) {
  // n = 5 with one zero: n' = 4, but the table row of n = 5 applies, so the 0.90 interval is the
  // whole range of the 15 Walsh averages [W(1), W(15)] = [min d, max d].
  const WilcoxonPairs r = wilcoxon_pairs(pairs_with_differences({4, -2, 0, 7, 1}));
  EXPECT_EQ(r.nonzero, 4);
  ASSERT_EQ(r.intervals.size(), 1u);
  EXPECT_EQ(r.intervals[0].level, 0.90f);
  EXPECT_EQ(r.intervals[0].lower, -2.0f);
  EXPECT_EQ(r.intervals[0].upper, 7.0f);
  // Median of the Walsh averages -2,-1,-0.5,0,0.5,1,1,2,2.5,2.5,3.5,4,4,5.5,7 (R: median(W)).
  EXPECT_EQ(r.hodges_lehmann, 2.0f);
}

TEST(WilcoxonPairs, EqualRankSumsGiveZAndPOfTheCentre) {
  // R+ = R- = 5: R^ = R+ and Z = 0, so p_a = 1; the exact P1 = psignrank(5, 4) = 0.5625 > 0.5.
  const WilcoxonPairs r = wilcoxon_pairs(pairs_with_differences({1, -1, 2, -2}));
  EXPECT_EQ(r.r_hat, 5.0f);
  EXPECT_EQ(r.z, 0.0f);
  EXPECT_EQ(r.p_approx, 1.0f);
  EXPECT_EQ(r.p_exact, 1.0f);
}

TEST(WilcoxonPairs, TooFewPairsMessageNamesNAndTheEqualPairs) {
  const WilcoxonPairs r = wilcoxon_pairs(pairs_with_differences({0, 3, 0, 0}));
  EXPECT_EQ(
      too_few_pairs_message(r),
      "Der Stichprobenumfang n = 4 ist zu klein oder es\r\rliegen zuviele Paare (n' = 3) mit gleichen Werten vor!");
}

TEST(WilcoxonPairs, ReportLinesOfEachBranch) {
  const auto exact = w_report(wilcoxon_pairs(make_pairs(x12, y12)));
  EXPECT_EQ(exact.at(0), "");
  EXPECT_EQ(exact.at(1), "Stichprobenumfang: n  = 12 ");
  EXPECT_EQ(exact.at(2), "Ungleiche Paare:   n' = 12 ");
  EXPECT_EQ(exact.at(4),
            "Pr\xFC"
            "fgr\xF6\xDF"
            "e R^ =     26.00 ( p = 0.339355 exakter Test )");
  // R's p = 0.30782147 lies 3e-8 below a rounding boundary of the picture, closer than the
  // single-precision steps of the normal tail, so its last digit is not pinned here.
  EXPECT_EQ(exact.at(5).rfind("Pr\xFC"
                              "fgr\xF6\xDF"
                              "e Z  =    1.0198 ( p = 0.30782",
                              0),
            0u)
      << exact.at(5);
  EXPECT_TRUE(exact.at(5).ends_with(" approximativ )"));
  EXPECT_EQ(exact.at(7), "Hodges-Lehmann-Sch\xE4tzer =    80.0000");
  EXPECT_EQ(exact.at(11), "P = 0.9000:  (   -72.5000 ,   196.0000 )");

  const auto approximate = w_report(wilcoxon_pairs(pairs_with_differences(alternating(501))));
  // d = 1, -2, 3, ..., 501: R^ = 62750, Z = 125.5 / sqrt(501 * 502 * 1003 / 24) = 0.038710,
  // R: 2 * pnorm(-0.03871) = 0.969121.
  EXPECT_EQ(approximate.at(4),
            "Pr\xFC"
            "fgr\xF6\xDF"
            "e R^ =  62750.00 ( p = 0.969121 approximativ )");
  EXPECT_EQ(approximate.at(6), "");
  EXPECT_EQ(approximate.at(7), "Konfidenzintervalle werden nur bis n<=500 berechnet.");
  EXPECT_EQ(approximate.at(8), "");
  EXPECT_EQ(approximate.at(9), "");
  EXPECT_EQ(approximate.at(10), "Literatur:");

  const auto none = w_report(wilcoxon_pairs(pairs_with_differences({1, -2, 3, 4})));
  EXPECT_TRUE(contains_line(none, "Keine Intervalle berechenbar!"));
}

}  // namespace
}  // namespace veltrum
