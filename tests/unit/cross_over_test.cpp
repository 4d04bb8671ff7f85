// Letter C: the three U tests of the cross-over analysis (sums, differences, period 1) and the
// report lines.
//
// Reference values come from R 4.x: wilcox.test (exact = TRUE, and exact = FALSE with
// correct = FALSE for Z and the approximate p) and pwilcox, the calls written next to the numbers.
#include <gtest/gtest.h>

#include "crossover/cross_over.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::written_lines;

// Senn (2002), Cross-over Trials in Clinical Research, ch. 3: peak expiratory flow of 7 children
// in the sequence formoterol/salbutamol and 6 in salbutamol/formoterol (examples/asthma.dat).
// R: g1p1 <- c(310, 310, 370, 410, 250, 380, 330); g1p2 <- c(270, 260, 300, 390, 210, 350, 365)
//    g2p1 <- c(370, 310, 380, 290, 260, 90);       g2p2 <- c(385, 400, 410, 320, 340, 220)
CrossOverGroup for_sal() { return {1, {310, 310, 370, 410, 250, 380, 330}, {270, 260, 300, 390, 210, 350, 365}}; }
CrossOverGroup sal_for() { return {2, {370, 310, 380, 290, 260, 90}, {385, 400, 410, 320, 340, 220}}; }

TEST(CrossOver, AgreesWithRsWilcoxonTestOnSennsAsthmaTrial) {
  const CrossOver c = cross_over(for_sal(), sal_for());
  EXPECT_EQ(c.n1, 7);
  EXPECT_EQ(c.n2, 6);
  struct Case {
    CrossOverAnalysis analysis;
    float u1, u2;
    double ties, p_exact, z, p_approx;
  };
  const Case cases[] = {
      // s1 <- g1p1 + g1p2; s2 <- g2p1 + g2p2 (no ties): wilcox.test(s1, s2)$statistic = 19 = U2,
      // $p.value = 0.835664335664336 (exact); exact = FALSE, correct = FALSE: 0.775096962195985,
      // z = qnorm(p / 2, lower.tail = FALSE) = 0.285714285714286
      {carry_over, 23, 19, 0, 0.835664335664336, 0.285714285714286, 0.775096962195985},
      // d1 <- g1p1 - g1p2; d2 <- g2p1 - g2p2 (ties 40, 40 and -30, -30: T = 12): statistic 39,
      // U = 3; R has no exact p with ties, the exact p without ties is 2 * pwilcox(3, 7, 6) =
      // 0.00815850815850816; exact = FALSE, correct = FALSE: 0.00992239293079857, z = 2.57852218096469
      {treatment_effects, 3, 39, 12, 0.00815850815850816, 2.57852218096469, 0.00992239293079857},
      // g1p1 against g2p1 (310 three times, 370 and 380 twice: T = 36): statistic 28, U = 14;
      // 2 * pwilcox(14, 7, 6) = 0.365967365967366; exact = FALSE, correct = FALSE:
      // 0.313288834157801, z = 1.00834506818664
      {first_period, 14, 28, 36, 0.365967365967366, 1.00834506818664, 0.313288834157801},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.analysis);
    const CrossOverU& t = c.tests[k.analysis];
    EXPECT_EQ(t.u1, k.u1);
    EXPECT_EQ(t.u2, k.u2);
    EXPECT_EQ(t.u, std::min(k.u1, k.u2));
    EXPECT_EQ(t.ties, k.ties);
    EXPECT_NEAR(t.p_exact, k.p_exact, 2e-7);
    EXPECT_NEAR(t.z, k.z, 2e-6);
    EXPECT_NEAR(t.p_approx, k.p_approx, 2e-7);
  }
  // The statistics do not depend on which group is entered first.
  const CrossOver swapped = cross_over(sal_for(), for_sal());
  for (const CrossOverAnalysis a : {carry_over, treatment_effects, first_period}) {
    EXPECT_EQ(swapped.tests[a].u, c.tests[a].u);
    EXPECT_EQ(swapped.tests[a].p_exact, c.tests[a].p_exact);
  }
}

TEST(CrossOver, TieSumBeyondSixteenBitsGivesTheTieCorrectedVariance) {
  // The tie sum T of a block of 34 (39270) or 600 (215999400) equal values does not fit 16 bits;
  // a wrapped T would change Z.
  struct Case {
    std::vector<float> x, y;
    double ties, u, z, p_approx;
  };
  std::vector<float> x2(300, 0.0f), y2(300, 0.0f);
  for (int i = 1; i <= 200; ++i) x2.push_back(static_cast<float>(i));
  for (int i = 201; i <= 400; ++i) y2.push_back(static_cast<float>(i));
  std::vector<float> x1(17, 5.0f), y1(17, 5.0f);
  x1.insert(x1.end(), {1, 2, 3});
  y1.insert(y1.end(), {7, 8, 9});
  const Case cases[] = {
      // R: x <- c(rep(5, 17), 1, 2, 3); y <- c(rep(5, 17), 7, 8, 9)
      //    wilcox.test(x, y, exact = FALSE, correct = FALSE): W = 144.5, p = 0.0156780563862958,
      //    z = qnorm(p / 2, lower.tail = FALSE) = 2.41632509701894
      {x1, y1, 39270, 144.5, 2.41632509701894, 0.0156780563862958},
      // R: x <- c(rep(0, 300), 1:200); y <- c(rep(0, 300), 201:400): W = 105000,
      //    p = 7.56595499103094e-07, z = 4.94624287765516
      {x2, y2, 215999400, 105000, 4.94624287765516, 7.56595499103094e-07},
  };
  for (const Case& k : cases) {
    const CrossOverU t = cross_over_u(k.x, k.y);
    EXPECT_EQ(t.ties, k.ties);
    EXPECT_EQ(t.u, k.u);
    EXPECT_NEAR(t.z, k.z, 2e-6 * k.z);
    EXPECT_NEAR(t.p_approx, k.p_approx, 1e-6 * k.p_approx);
  }
}

TEST(CrossOver, OneThousandValuesFitOneUTest) {
  // All 1000 values equal: T = 1000^3 - 1000, sigma = 0, so Z = 0 and p = 1.
  const CrossOverU t = cross_over_u(std::vector<float>(500, 1), std::vector<float>(500, 1));
  EXPECT_EQ(t.ties, 999999000);
  EXPECT_EQ(t.z, 0);
  EXPECT_EQ(t.p_approx, 1);
  EXPECT_THROW(cross_over_u(std::vector<float>(500, 1), std::vector<float>(501, 2)), IndexError);
}

TEST(CrossOver, ReportLinesFollowTheGoldenFile) {
  // The golden report without its header block (5 lines) and the loader's input block (5 lines).
  const auto golden = testing::crlf_lines(testing::read_bytes(VELTRUM_GOLDEN_DIR "/C_asthma.txt"));
  const auto lines = written_lines([](ReportFile& r) { write_cross_over(r, cross_over(for_sal(), sal_for())); });
  EXPECT_EQ(lines, std::vector<std::string>(golden.begin() + 10, golden.end()));
}

}  // namespace
}  // namespace veltrum
