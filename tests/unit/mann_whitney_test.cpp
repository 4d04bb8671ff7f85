// Letter U: the exact distribution of the rank sum, U and its p values, the Mann-Whitney
// estimator with its intervals, Hodges-Lehmann with Moses intervals, and the report lines.
//
// Reference values come from R 4.x: wilcox.test (exact = TRUE / FALSE, correct = FALSE,
// conf.int = TRUE), pwilcox, and direct computations written next to the numbers.
#include <gtest/gtest.h>

#include <random>

#include "independent/mann_whitney.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::arithmetic;
using testing::contains_line;
using testing::contains_text;
using testing::make_table;
using testing::written_lines;

// Permeability data of Hollander & Wolfe (the two-sample example of R's wilcox.test help page),
// no ties.
const std::vector<float> permeability_x = {0.80f, 0.83f, 1.89f, 1.04f, 1.45f, 1.38f, 1.91f, 1.64f, 0.73f, 1.46f};
const std::vector<float> permeability_y = {1.15f, 0.88f, 0.90f, 0.74f, 1.21f};

UTest run_u(const std::vector<float>& x, const std::vector<float>& y, const BusySignal& busy = {}) {
  SampleTable t = make_table({x, y});
  const Ranking r = rank_groups(t);
  return u_test(t, r, busy);
}

std::vector<std::string> u_report(const UTest& result) {
  return written_lines([&](ReportFile& r) { write_u_test(r, result); });
}

// x = (((0:51) * a) %% 104) + 1, y = setdiff(1:104, x) in R.
std::pair<std::vector<float>, std::vector<float>> spread_of_104(int a) {
  std::vector<float> x, y;
  std::vector<bool> taken(105, false);
  for (int i = 0; i < 52; ++i) {
    const int v = (i * a) % 104 + 1;
    x.push_back(static_cast<float>(v));
    taken[static_cast<std::size_t>(v)] = true;
  }
  for (int v = 1; v <= 104; ++v)
    if (!taken[static_cast<std::size_t>(v)]) y.push_back(static_cast<float>(v));
  return {x, y};
}

TEST(MannWhitney, ExactTailAgreesWithRsWilcoxonDistribution) {
  // R: pwilcox(13, 5, 6) = 0.396103896104; 2 * that = 0.792207792208
  ExactTail t = exact_u_tail(5, 6, 13);
  EXPECT_NEAR(t.one_sided, 0.396103896104, 1e-7);
  EXPECT_NEAR(t.two_sided, 0.792207792208, 1e-7);
  // R: pwilcox(15, 10, 5) = 0.127206127206
  t = exact_u_tail(10, 5, 15);
  EXPECT_NEAR(t.one_sided, 0.127206127206, 1e-7);
  // The tail on the other side: U = 35 of 50 is as extreme as 15.
  const ExactTail mirrored = exact_u_tail(10, 5, 35);
  EXPECT_EQ(mirrored.one_sided, t.one_sided);
  EXPECT_EQ(exact_u_tail(5, 10, 15).one_sided, t.one_sided);
  // R: pwilcox(0, 3, 4) = 1/35 = 0.0285714285714
  EXPECT_NEAR(exact_u_tail(3, 4, 0).one_sided, 1.0 / 35, 1e-8);
  // At the centre both tails exceed one half: the two-sided p is 1.
  EXPECT_EQ(exact_u_tail(4, 4, 8).two_sided, 1.0f);
}

TEST(MannWhitney, ExactTableBoundIsOneHundredThousandCounts) {
  // 1 + sum_{j=0}^{m} (1 + j (N - j)): 95136 for 52 and 52, 100702 for 53 and 53.
  EXPECT_EQ(exact_table_size(52, 104), 95136);
  EXPECT_GT(exact_table_size(53, 106), exact_count_limit);
  EXPECT_GE(exact_u_tail(52, 52, 1300).two_sided, 0.0f);
  EXPECT_EQ(exact_u_tail(53, 53, 1300).one_sided, -1.0f);
  EXPECT_EQ(exact_u_tail(53, 53, 1300).two_sided, -1.0f);
  // The bound, not the equality of the sizes, decides: a small group against a large one fits.
  EXPECT_LE(exact_table_size(3, 1001), exact_count_limit);
  EXPECT_GE(exact_u_tail(3, 998, 100).two_sided, 0.0f);
  // R: pwilcox(100, 3, 998) = 0.000184722184722
  EXPECT_NEAR(exact_u_tail(3, 998, 100).one_sided, 0.000184722184722, 1e-10);
}

TEST(MannWhitney, AgreesWithRWithoutTies) {
  const UTest r = run_u(permeability_x, permeability_y);
  // R: wilcox.test(x, y)$statistic = 35 (= U2, the count of x above y); U1 = 50 - 35.
  EXPECT_EQ(r.u1, 15.0f);
  EXPECT_EQ(r.u2, 35.0f);
  EXPECT_EQ(r.u, 15.0f);
  // R: wilcox.test(x, y, exact = TRUE)$p.value = 0.254412254412
  EXPECT_TRUE(r.exact);
  EXPECT_NEAR(r.p_exact, 0.254412254412, 5e-8);
  EXPECT_FALSE(r.interpolated);
  // R: wilcox.test(x, y, exact = FALSE, correct = FALSE)$p.value = 0.22067136192
  //    qnorm(0.22067136192 / 2, lower.tail = FALSE) = 1.22474487139
  EXPECT_NEAR(r.p_approx, 0.22067136192, 2e-7);
  EXPECT_NEAR(r.z, 1.22474487139, 1e-6);
  // R: 10 * 5 * 16 / 12 = 66.6667 (no ties)
  EXPECT_NEAR(r.variance, 200.0 / 3, 1e-4);

  // Hodges-Lehmann. R: wilcox.test(x, y, exact = TRUE, conf.int = TRUE)$estimate = 0.305
  ASSERT_TRUE(r.hodges_lehmann);
  EXPECT_NEAR(r.shift, 0.305, 1e-6);
  // Moses limits d(h), d(M + 1 - h), h = INT(M/2 - z sqrt(n1 n2 (N+1)/12) + 0.5), M = 50.
  // R: d <- sort(outer(x, y, "-")); h = 12, 9, 6, 4 for the four levels;
  //    d[c(12, 39)] = -0.08 0.72; d[c(9, 42)] = -0.15 0.76; d[c(6, 45)] = -0.32 0.99;
  //    d[c(4, 47)] = -0.38 1.01.
  // R's normal-approximation interval, wilcox.test(x, y, exact = FALSE, correct = FALSE,
  // conf.int = TRUE, conf.level = P)$conf.int, finds the same differences by root finding (to
  // its tolerance 1e-4) at 0.90, 0.95 and 0.99: (-0.0799732, 0.7199478), (-0.1499808, 0.7599751),
  // (-0.3799340, 1.0100210).  At 0.98 it takes the neighbour d(7) = -0.17, d(44) = 0.90: its step
  // is at floor(M/2 - z sigma) + 1 = 7 where the rounded h is 6 (M/2 - z sigma = 6.005).
  ASSERT_EQ(r.moses.size(), 4u);
  const double lower[] = {-0.08, -0.15, -0.32, -0.38}, upper[] = {0.72, 0.76, 0.99, 1.01};
  const double r_lower[] = {-0.0799732148139, -0.149980846290, 0, -0.379933999269};
  const double r_upper[] = {0.7199477747882, 0.759975066222, 0, 1.010020959153};
  for (std::size_t l = 0; l < 4; ++l) {
    EXPECT_EQ(r.moses[l].level, confidence_levels[l]);
    EXPECT_NEAR(r.moses[l].lower, lower[l], 1e-6) << l;
    EXPECT_NEAR(r.moses[l].upper, upper[l], 1e-6) << l;
    if (l == 2) continue;
    EXPECT_NEAR(r.moses[l].lower, r_lower[l], 1e-4) << l;
    EXPECT_NEAR(r.moses[l].upper, r_upper[l], 1e-4) << l;
  }
  // The exact 95% interval of R (exact quantiles) happens to coincide:
  // wilcox.test(x, y, conf.int = TRUE)$conf.int = -0.15 0.76
  EXPECT_FALSE(r.moses_note);

  // Mann-Whitney estimator 15/50, with q1 = 0.48, q2 = 0.63, sigma^2 = 0.0136 (direct triple sums
  // in R, see AgreesWithRWithTies for the code); intervals p -/+ qnorm(1 - (1 - P)/2) sigma.
  EXPECT_EQ(r.estimate, 0.3f);
  EXPECT_FALSE(r.simple_variance);
  EXPECT_NEAR(r.estimate_variance, 0.0136, 1e-8);
  ASSERT_TRUE(r.estimate_intervals);
  const double mw_lower[] = {0.108178752544, 0.0714308858104, 0.0287035491158, 0};
  const double mw_upper[] = {0.491821247456, 0.52856911419, 0.571296450884, 0.600390735167};
  for (std::size_t l = 0; l < 4; ++l) {
    EXPECT_NEAR(r.estimate_limits[l].lower, mw_lower[l], 3e-7) << l;
    EXPECT_NEAR(r.estimate_limits[l].upper, mw_upper[l], 3e-7) << l;
  }
}

TEST(MannWhitney, AgreesWithRWithTies) {
  const std::vector<float> x = {2, 4, 4, 7, 9, 12, 12}, y = {3, 4, 6, 9, 9, 13, 15, 15};
  const UTest r = run_u(x, y);
  // R: h <- function(a, b) ifelse(b < a, 1, ifelse(b == a, 0.5, 0)); H <- outer(x, y, h)
  //    s1 <- 0; for (j in 1:n2) for (a in 1:(n1-1)) for (b in (a+1):n1) s1 <- s1 + H[a,j]*H[b,j]
  //    s2 <- 0; for (i in 1:n1) for (a in 1:(n2-1)) for (b in (a+1):n2) s2 <- s2 + H[i,a]*H[i,b]
  //    q1 <- s1/(n2*n1*(n1-1)/2) = 0.209821428571; q2 <- s2/(n1*n2*(n2-1)/2) = 0.154336734694
  //    U1 = 36, p = 36/56 = 0.642857142857, pi = 1 - p
  //    (pi - (n1+n2-1)*pi^2 + (n1-1)*q1 + (n2-1)*q2)/(n1*n2) = 0.016262755102
  SampleTable t = make_table({x, y});
  rank_groups(t);
  const PairSums s = mann_whitney_pair_sums(t);
  EXPECT_NEAR(s.q1, 0.209821428571, 1e-12);
  EXPECT_NEAR(s.q2, 0.154336734694, 1e-12);
  EXPECT_EQ(r.u1, 36.0f);
  EXPECT_NEAR(r.estimate, 0.642857142857, 1e-7);
  EXPECT_NEAR(r.estimate_variance, 0.016262755102, 1e-8);
  // R: for (P in c(.9, .95, .98, .99)) { z <- qnorm(1 - (1 - P)/2); p -/+ z * sqrt(sigma2) }
  const double lower[] = {0.433096349066, 0.392911740748, 0.346188449244, 0.314373203296};
  const double upper[] = {0.852617936648, 0.892802544966, 0.939525836471, 0.971341082419};
  for (std::size_t l = 0; l < 4; ++l) {
    EXPECT_NEAR(r.estimate_limits[l].lower, lower[l], 3e-7) << l;
    EXPECT_NEAR(r.estimate_limits[l].upper, upper[l], 3e-7) << l;
  }
  // Ties enter V: R: wilcox.test(x, y, exact = FALSE, correct = FALSE) uses the same
  // tie-corrected variance; its p-value is 2 * pnorm(-|U - 28| / sigma).
  // sigma^2 = 56/12 * (16 - sum(t^3 - t)/(15 * 14)), ties 4 (x3), 9 (x3), 12 (x2), 15 (x2):
  // sum = 24 + 24 + 6 + 6 = 60; sigma^2 = 73.3333333.
  EXPECT_NEAR(r.variance, 56.0 / 12 * (16 - 60.0 / 210), 1e-4);
}

TEST(MannWhitney, PairSumsEqualTheDirectTripleSumsOnTiedData) {
  std::mt19937 random(20240613);
  for (int trial = 0; trial < 40; ++trial) {
    const int n1 = 2 + static_cast<int>(random() % 9), n2 = 2 + static_cast<int>(random() % 9);
    std::vector<float> x, y;
    for (int i = 0; i < n1; ++i) x.push_back(static_cast<float>(random() % 6));
    for (int j = 0; j < n2; ++j) y.push_back(static_cast<float>(random() % 6));
    SampleTable t = make_table({x, y});
    rank_groups(t);
    const PairSums s = mann_whitney_pair_sums(t);

    const auto h = [](float a, float b) { return b < a ? 1.0L : b == a ? 0.5L : 0.0L; };
    real s1 = 0, s2 = 0;
    for (int j = 0; j < n2; ++j)
      for (int a = 0; a < n1; ++a)
        for (int b = a + 1; b < n1; ++b) s1 += h(x[a], y[j]) * h(x[b], y[j]);
    for (int i = 0; i < n1; ++i)
      for (int a = 0; a < n2; ++a)
        for (int b = a + 1; b < n2; ++b) s2 += h(x[i], y[a]) * h(x[i], y[b]);
    EXPECT_EQ(s.q1, s1 / (n2 * (n1 * (n1 - 1) / 2.0L))) << trial;
    EXPECT_EQ(s.q2, s2 / (n1 * (n2 * (n2 - 1) / 2.0L))) << trial;
  }
}

TEST(MannWhitney, FiftyTwoPerGroupIsExactFiftyThreeApproximate) {
  const auto [x, y] = spread_of_104(3);
  UTest r = run_u(x, y);
  // R: x <- (((0:51) * 3) %% 104) + 1; y <- setdiff(1:104, x)
  //    wilcox.test(x, y, exact = TRUE): W = 884, p-value = 0.00215331858555
  EXPECT_EQ(r.u2, 884.0f);
  EXPECT_EQ(r.u, 884.0f);
  ASSERT_TRUE(r.exact);
  EXPECT_NEAR(r.p_exact, 0.00215331858555, 1e-9);
  auto lines = u_report(r);
  EXPECT_EQ(lines.at(2), "U =    884.0  ( p = 0.002153 : exakter Test )");
  // R: wilcox.test(x, y, exact = FALSE, correct = FALSE)$p.value = 0.00234578697957,
  //    qnorm(0.00234578697957 / 2, lower.tail = FALSE) = 3.04255531702
  EXPECT_EQ(lines.at(3), "Z =   3.0426  ( p = 0.002346 : approximativ )");
  // The same with a = 5: R: W = 1040, p-value = 0.0425171956609
  const auto [x5, y5] = spread_of_104(5);
  EXPECT_NEAR(run_u(x5, y5).p_exact, 0.0425171956609, 1e-8);

  // x = odd numbers 1..103 with 103 replaced by 104.
  // R: x <- (0:51)*2 + 1; x[52] <- 104; y <- setdiff(1:104, x)
  //    wilcox.test(x, y, exact = TRUE): W = 1327, p-value = 0.873990162414
  std::vector<float> odd = arithmetic(52, 1, 2), even;
  odd[51] = 104;
  for (int v = 1; v <= 104; ++v)
    if (std::find(odd.begin(), odd.end(), static_cast<float>(v)) == odd.end()) even.push_back(static_cast<float>(v));
  r = run_u(odd, even);
  EXPECT_EQ(r.u, 1327.0f);
  ASSERT_TRUE(r.exact);
  // The counts are single precision; near one half the tail still agrees to 1e-7.
  EXPECT_NEAR(r.p_exact, 0.873990162414, 1e-7);

  // R: x <- (0:52)*2 + 1; y <- setdiff(1:106, x)
  //    wilcox.test(x, y, exact = FALSE, correct = FALSE): W = 1378, p-value = 0.867020965182
  //    qnorm(0.867020965182 / 2, lower.tail = FALSE) = 0.167443671656
  r = run_u(arithmetic(53, 1, 2), arithmetic(53, 2, 2));
  EXPECT_FALSE(r.exact);
  EXPECT_EQ(r.u, 1378.0f);
  EXPECT_NEAR(r.p_approx, 0.867020965182, 3e-7);
  lines = u_report(r);
  EXPECT_EQ(lines.at(2), "U =   1378.0  ( p = 0.867021 : approximativ )");
  EXPECT_EQ(lines.at(3), "Z =   0.1674  ( p = 0.867021 : approximativ )");
}

TEST(MannWhitney, HalfUGivesConservativeAndInterpolatedExactP) {
  // x = 1 3 5 7 9, y = 2 4 5 6 8 10: R's W = 12.5 (= U2), U1 = 17.5.
  // Conservative: U = 13, R: 2 * pwilcox(13, 5, 6) = 0.792207792208;
  // the neighbour U = 12: 2 * pwilcox(12, 5, 6) = 0.662337662338; mean 0.727272727273.
  // R: wilcox.test(x, y, exact = FALSE, correct = FALSE)$p.value = 0.647328684584,
  //    qnorm(0.647328684584 / 2, lower.tail = FALSE) = 0.457476367797
  const std::vector<float> x = {1, 3, 5, 7, 9}, y = {2, 4, 5, 6, 8, 10};
  // The smaller sample's U is the larger one here (17.5); with the signs turned it is the smaller
  // one (12.5); both give the same p values.
  const std::vector<float> neg_x = {-1, -3, -5, -7, -9}, neg_y = {-2, -4, -5, -6, -8, -10};
  for (const auto& [a, b] : {std::pair{x, y}, std::pair{neg_x, neg_y}, std::pair{y, x}}) {
    const UTest r = run_u(a, b);
    EXPECT_EQ(r.u, 12.5f);
    EXPECT_EQ(r.u_rounded, 13);
    EXPECT_NEAR(r.p_exact, 0.792207792208, 1e-7);
    ASSERT_TRUE(r.interpolated);
    EXPECT_NEAR(r.p_interpolated, 0.727272727273, 1e-7);
    EXPECT_NEAR(r.p_approx, 0.647328684584, 2e-7);
    EXPECT_NEAR(r.z, 0.457476367797, 1e-6);
    const auto lines = u_report(r);
    EXPECT_EQ(lines.at(2), "U =     12.5  ( p = 0.792208 : exakter Test, konservativ mit U=13)");
    EXPECT_EQ(lines.at(3), "U =     12.5  ( p = 0.727273 : exakter Test, linear interpoliert)");
    EXPECT_EQ(lines.at(4), "Z =   0.4575  ( p = 0.647329 : approximativ )");
  }

  // Equal sizes: x = 1 3 5 7 9, y = 2 4 5 8 10, R's W = 10.5 = U.
  // R: 2 * pwilcox(11, 5, 5) = 0.84126984127; 2 * pwilcox(10, 5, 5) = 0.690476190476;
  //    mean 0.765873015873
  const UTest e = run_u({1, 3, 5, 7, 9}, {2, 4, 5, 8, 10});
  EXPECT_EQ(e.u, 10.5f);
  EXPECT_EQ(e.u_rounded, 11);
  EXPECT_NEAR(e.p_exact, 0.84126984127, 1e-7);
  EXPECT_NEAR(e.p_interpolated, 0.765873015873, 1e-7);
}

TEST(MannWhitney, AllTiedGivesZeroVarianceAndZ) {
  const UTest r = run_u({4, 4, 4}, {4, 4});
  EXPECT_EQ(r.variance, 0.0f);
  EXPECT_EQ(r.z, 0.0f);
  EXPECT_EQ(r.p_approx, 1.0f);
  EXPECT_EQ(r.u, 3.0f);
  EXPECT_EQ(r.estimate, 0.5f);
}

TEST(MannWhitney, LargeGroupsUseTheSimpleVarianceAndNoteIt) {
  // R: x <- 0:150; y <- 0.5 + 0:150; U1 <- sum(outer(x, y, "<")) = 11476,
  //    p <- U1 / 151^2 = 0.503311258278; p * (1 - p) / 151 = 0.00165555652694
  //    P = 0.95: p -/+ qnorm(0.975) sqrt(...) = 0.423563203609, 0.583059312948
  UTest r = run_u(arithmetic(151, 0, 1), arithmetic(151, 0.5f, 1));
  EXPECT_TRUE(r.simple_variance);
  EXPECT_NEAR(r.estimate, 0.503311258278, 1e-7);
  EXPECT_NEAR(r.estimate_variance, 0.00165555652694, 1e-10);
  EXPECT_NEAR(r.estimate_limits[1].lower, 0.423563203609, 3e-7);
  EXPECT_NEAR(r.estimate_limits[1].upper, 0.583059312948, 3e-7);
  auto lines = u_report(r);
  EXPECT_TRUE(contains_line(lines, "(F\xFCr n1,n2>150: Konservative Sch\xE4tzung nach Clopper-Pearson)"));

  r = run_u(arithmetic(151, 0, 1), arithmetic(150, 0.5f, 1));
  EXPECT_FALSE(r.simple_variance);
  lines = u_report(r);
  EXPECT_FALSE(contains_text(lines, "Clopper-Pearson"));
  EXPECT_TRUE(contains_line(lines, "Asymptotische Konfidenzintervalle zum Mann-Whitney-Sch\xE4tzer:"));
}

TEST(MannWhitney, HodgesLehmannUpToTwoHundredFiftyThousandDifferences) {
  // 501 * 499 = 249999 differences. R: median(outer(0:500, 0.25 + 0:498, "-")) = 0.75
  UTest r = run_u(arithmetic(501, 0, 1), arithmetic(499, 0.25f, 1));
  ASSERT_TRUE(r.hodges_lehmann);
  EXPECT_EQ(r.shift, 0.75f);
  auto lines = u_report(r);
  EXPECT_TRUE(contains_line(lines, "Hodges-Lehmann-Sch\xE4tzer f\xFCr 'X1-X2' = 0.7500"));
  EXPECT_FALSE(contains_text(lines, "Hodges-Lehmann: Konfidenzintervalle werden nur"));

  r = run_u(arithmetic(501, 0, 1), arithmetic(501, 0.25f, 1));
  EXPECT_FALSE(r.hodges_lehmann);
  lines = u_report(r);
  EXPECT_TRUE(contains_line(lines, "Hodges-Lehmann: Konfidenzintervalle werden nur bis n1,n2<=500 berechnet."));
  EXPECT_FALSE(contains_text(lines, "Hodges-Lehmann-Sch\xE4tzer"));
  EXPECT_FALSE(contains_text(lines, "Moses"));
}

TEST(MannWhitney, MosesNoteOnlyWhenBothGroupsAreBelowTen) {
  const std::string note = "Die Konfidenzintervalle gelten f\xFCr n1>9 und/oder n2>9, sonst n\xE4herungsweise.";
  UTest r = run_u(arithmetic(9, 0, 1), arithmetic(9, 0.5f, 1.5f));
  EXPECT_TRUE(r.moses_note);
  auto lines = u_report(r);
  const auto at = std::find(lines.begin(), lines.end(), note);
  ASSERT_NE(at, lines.end());
  EXPECT_EQ(*(at - 1), "");

  r = run_u(arithmetic(9, 0, 1), arithmetic(10, 0.5f, 1.5f));
  EXPECT_FALSE(r.moses_note);
  EXPECT_FALSE(contains_line(u_report(r), note));

  // Two values each: h = INT(2 - z * 1.29 + 0.5) <= 0 at every level.
  r = run_u({1, 2}, {3, 5});
  EXPECT_TRUE(r.moses.empty());
  lines = u_report(r);
  const auto none = std::find(lines.begin(), lines.end(), "Keine Intervalle berechenbar!");
  ASSERT_NE(none, lines.end());
  EXPECT_EQ(*(none + 1), "");
  EXPECT_EQ(*(none + 2), "");
  EXPECT_EQ(*(none + 3), note);
}

TEST(MannWhitney, ReportNamesTheGroupsByTheirNumbers) {
  // The whole layout is pinned by the golden report (RankTests.UReportMatchesTheGoldenFile);
  // here the group numbers, which the golden file has in one order only.
  SampleTable t = make_table({permeability_x, permeability_y}, {17, 4});
  const auto lines = u_report(u_test(t, rank_groups(t)));
  EXPECT_EQ(lines.at(2), "U =     15.0  ( p = 0.254412 : exakter Test )");
  EXPECT_EQ(lines.at(6), "Mann-Whitney-Sch\xE4tzer f\xFCr p=P(X17<X4) = 0.300000");
  EXPECT_EQ(lines.at(16), "Hodges-Lehmann-Sch\xE4tzer f\xFCr 'X17-X4' = 0.3050");
  // Negative limits in the adaptive field.  R: sort(outer(x, y, "-"))[c(12, 39)] = -0.08 0.72
  EXPECT_EQ(lines.at(20), "P = 0.9000:  (    -0.0800 ,     0.7200 )");
  EXPECT_EQ(lines.at(28).substr(0, 16), "Stichprobe 17  |");
  EXPECT_EQ(lines.at(29).substr(0, 16), "Stichprobe  4  |");
  EXPECT_EQ(lines.at(32).rfind("Literatur: ", 0), 0u);
  EXPECT_EQ(lines.size(), 35u);
}

TEST(MannWhitney, NegativeVarianceEstimateGivesNoIntervals) {
  UTest r = run_u(permeability_x, permeability_y);
  r.estimate_variance = -0.001f;
  r.estimate_intervals = false;
  const auto lines = u_report(r);
  EXPECT_EQ(lines.at(10), "Konfidenzintervalle nicht berechenbar.");
  EXPECT_EQ(lines.at(11), "");
  EXPECT_EQ(lines.at(12), "");
  EXPECT_EQ(lines.at(13).rfind("Hodges-Lehmann-Sch\xE4tzer", 0), 0u);
}

TEST(MannWhitney, BusyDuringTheLongSteps) {
  std::vector<bool> signals;
  run_u({1, 3, 5, 7, 9}, {2, 4, 5, 6, 8, 10}, [&](bool busy) { signals.push_back(busy); });
  // Exact distribution (both values of the half U) and the variance estimate.
  EXPECT_EQ(signals, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace veltrum
