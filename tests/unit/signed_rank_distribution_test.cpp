// FIDIS, the exact null distribution of the signed-rank sum, against R's psignrank, and the
// Tukey tables of the matched-pairs test against the distribution they are read from.
#include <gtest/gtest.h>

#include <cmath>

#include "paired/signed_rank_distribution.hpp"
#include "paired/wilcoxon_pairs.hpp"
#include "test_support.hpp"

namespace veltrum {
namespace {

struct TailCase {
  int n, t;
  double p;  // R: psignrank(t, n)
};

// R 4.2: for n in c(2, 5, 10, 20, 50, 100, 150, 180), t at qsignrank(c(1e-6, .01, .25), n),
// floor(n(n+1)/4) and qsignrank(c(.75, .99), n): sprintf("%.10e", psignrank(t, n)).
const TailCase tails[] = {
    {2, 0, 2.5e-01},
    {2, 1, 5.0e-01},
    {2, 2, 7.5e-01},
    {2, 3, 1.0},
    {5, 0, 3.125e-02},
    {5, 5, 3.125e-01},
    {5, 7, 5.0e-01},
    {5, 10, 7.8125e-01},
    {5, 15, 1.0},
    {10, 0, 9.765625e-04},
    {10, 6, 1.3671875e-02},
    {10, 21, 2.783203125e-01},
    {10, 27, 5.0e-01},
    {10, 34, 7.5390625e-01},
    {10, 49, 9.90234375e-01},
    {20, 1, 1.9073486328e-06},
    {20, 44, 1.0742187500e-02},
    {20, 87, 2.6083660126e-01},
    {20, 105, 5.0728225708e-01},
    {20, 123, 7.5099563599e-01},
    {20, 166, 9.9038314819e-01},
    {50, 176, 1.0501449479e-06},
    {50, 398, 1.0060321817e-02},
    {50, 567, 2.5124498371e-01},
    {50, 637, 5.0e-01},
    {50, 708, 7.5180570306e-01},
    {50, 877, 9.9020611155e-01},
    {100, 1184, 1.0052162641e-06},
    {100, 1851, 1.0059083732e-02},
    {100, 2328, 2.5045658825e-01},
    {100, 2525, 5.0068276858e-01},
    {100, 2722, 7.5063314311e-01},
    {100, 3199, 9.9003452681e-01},
    {150, 3180, 1.0098818591e-06},
    {150, 4426, 1.0045514137e-02},
    {150, 5302, 2.5024206333e-01},
    {150, 5662, 5.0e-01},
    {150, 6023, 7.5035311569e-01},
    {150, 6899, 9.9000525482e-01},
    {180, 4873, 1.0073899438e-06},
    {180, 6520, 1.0029085175e-02},
    {180, 7672, 2.5030529070e-01},
    {180, 8145, 5.0028423076e-01},
    {180, 8618, 7.5014810521e-01},
    {180, 9770, 9.9000944659e-01},
};

TEST(SignedRankDistribution, AgreesWithRsPsignrankInBothTails) {
  for (const TailCase& c : tails) {
    SCOPED_TRACE("n = " + std::to_string(c.n) + ", T = " + std::to_string(c.t));
    const SignedRankTail r = FIDIS(static_cast<std::int16_t>(c.n), static_cast<std::int16_t>(c.t));
    // Single-precision halvings: about n rounding steps of 2^-24 each.
    EXPECT_NEAR(r.p1, c.p, 2e-5 * c.p);
    const double two_sided = c.p <= 0.5 ? 2 * c.p : 1.0;
    EXPECT_NEAR(r.p2, two_sided, 2e-5 * two_sided);
  }
}

TEST(SignedRankDistribution, RefusesSizesOutsideOneTo180) {
  int signals = 0;
  const BusySignal busy = [&](bool) { ++signals; };
  for (const int n : {0, -3, 181}) {
    const SignedRankTail r = FIDIS(static_cast<std::int16_t>(n), 10, busy);
    EXPECT_FALSE(r.in_range());
    EXPECT_EQ(r.p1, -1.0f);
    EXPECT_EQ(r.p2, -1.0f);
  }
  EXPECT_EQ(signals, 0);
  EXPECT_EQ(fidis_range_text, "FIDIS: Nur f\xFCr 0<n<=180!");

  // Inside the range it signals busy while it counts, and done after.
  std::vector<bool> busy_signals;
  const SignedRankTail inside = FIDIS(180, 8145, [&](bool b) { busy_signals.push_back(b); });
  EXPECT_TRUE(inside.in_range());
  EXPECT_NEAR(inside.p1, 5.0028423076e-01, 1e-5);
  EXPECT_EQ(busy_signals, (std::vector<bool>{true, false}));
}

TEST(SignedRankDistribution, TukeyTablesCutOffTheLargestTailWithinHalfTheLevel) {
  // R: sapply(1:20, function(n) qsignrank((1 - P)/2, n) - 1) for P = 0.90, 0.95, 0.99.
  const std::array<std::array<int, 20>, 3> r_values = {{
      {-1, -1, -1, -1, 0, 2, 3, 5, 8, 10, 13, 17, 21, 25, 30, 35, 41, 47, 53, 60},
      {-1, -1, -1, -1, -1, 0, 2, 3, 5, 8, 10, 13, 17, 21, 25, 29, 34, 40, 46, 52},
      {-1, -1, -1, -1, -1, -1, -1, 0, 1, 3, 5, 7, 9, 12, 15, 19, 23, 27, 32, 37},
  }};
  for (int level = 0; level < 3; ++level) {
    const double alpha_half = (1.0 - tukey_levels[static_cast<std::size_t>(level)]) / 2;
    for (int n = 1; n <= 20; ++n) {
      SCOPED_TRACE("level " + std::to_string(level) + ", n = " + std::to_string(n));
      const int k = tukey_cut(level, n);
      EXPECT_EQ(k, r_values[static_cast<std::size_t>(level)][static_cast<std::size_t>(n - 1)]);
      // The same from FIDIS: P(T <= k) within alpha/2, P(T <= k + 1) beyond it.
      const auto n16 = static_cast<std::int16_t>(n);
      if (k >= 0) {
        EXPECT_LE(FIDIS(n16, static_cast<std::int16_t>(k)).p1, alpha_half + 1e-7);
      }
      EXPECT_GT(FIDIS(n16, static_cast<std::int16_t>(k + 1)).p1, alpha_half);
    }
  }
}

TEST(SignedRankDistribution, TukeyCutAbove20FollowsTheNormalFormula) {
  // R: floor(n*(n+1)/4 - qnorm(1 - (1 - P)/2) * sqrt(n*(n+1)*(2*n+1)/24) + 0.5).
  const struct {
    int n;
    std::array<int, 3> k;
  } cases[] = {{21, {68, 59, 41}}, {30, {153, 137, 107}}, {100, {2047, 1955, 1776}}, {500, {57308, 56290, 54299}}};
  for (const auto& c : cases)
    for (int level = 0; level < 3; ++level)
      EXPECT_EQ(tukey_cut(level, c.n), c.k[static_cast<std::size_t>(level)]) << "n = " << c.n << ", level " << level;
}

}  // namespace
}  // namespace veltrum
