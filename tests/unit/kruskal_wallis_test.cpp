// Letter K: the global H test, the pairwise Dunn/Holm and Nemenyi comparisons, the location sketch
// and the report lines.
//
// Reference values: R's kruskal.test, and for the comparison table this direct computation in R
// (pnorm and pchisq as the distribution functions, the pair's own tie sum in V):
//
//   dunn <- function(groups) {
//     k <- length(groups); n <- sapply(groups, length); N <- sum(n)
//     r <- rank(unlist(groups)); g <- rep(1:k, n); R <- tapply(r, g, sum); mr <- R / n
//     rows <- NULL
//     for (i in 1:(k-1)) for (j in (i+1):k) {
//       t <- table(c(groups[[i]], groups[[j]])); Tij <- sum(t^3 - t)
//       V <- (1/n[i] + 1/n[j]) * (N*(N+1)/12 - Tij/(12*(N-1)))
//       Z <- (mr[i] - mr[j]) / sqrt(V)
//       chi <- (mr[i] - mr[j])^2 / ((N*(N+1)/12) * (n[i]+n[j])/(n[i]*n[j]))
//       rows <- rbind(rows, c(i, j, abs(Z), 2*pnorm(abs(Z), lower.tail=FALSE), chi,
//                             pchisq(chi, k-1, lower.tail=FALSE)))
//     }
//     rows <- rows[order(-rows[,3]),]; M <- nrow(rows)
//     pstar <- pmin(1, rows[,4] * (M - 1:M + 1))
//     cbind(rows[,1:4], pstar, cummax(pstar), rows[,5:6])
//   }
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "frame/picture.hpp"
#include "independent/kruskal_wallis.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::contains_text;
using testing::make_table;
using testing::written_lines;

KruskalWallis run_kw(const std::vector<std::vector<float>>& groups, const std::vector<std::int16_t>& numbers = {}) {
  SampleTable t = make_table(groups, numbers);
  const Ranking r = rank_groups(t);
  return kruskal_wallis(t, r);
}

// Hollander & Wolfe's lung-function example (R's kruskal.test help page), no ties.
const std::vector<std::vector<float>> airways = {
    {2.9f, 3.0f, 2.5f, 2.6f, 3.2f}, {3.8f, 2.7f, 4.0f, 2.4f}, {2.8f, 3.4f, 3.7f, 2.2f, 2.0f}};

// R's InsectSprays, count by spray A..F: many ties, within and across groups.
const std::vector<std::vector<float>> insect_sprays = {{10, 7, 20, 14, 14, 12, 10, 23, 17, 20, 14, 13},
                                                       {11, 17, 21, 11, 16, 14, 17, 17, 19, 21, 7, 13},
                                                       {0, 1, 7, 2, 3, 1, 2, 1, 3, 0, 1, 4},
                                                       {3, 5, 12, 6, 4, 3, 5, 5, 5, 5, 2, 4},
                                                       {3, 5, 3, 5, 3, 6, 1, 1, 3, 2, 6, 4},
                                                       {11, 9, 15, 22, 15, 16, 13, 10, 26, 26, 24, 13}};

// R's PlantGrowth, weight by group: one tie (4.17), between ctrl and trt1.
const std::vector<std::vector<float>> plant_growth = {
    {4.17f, 5.58f, 5.18f, 6.11f, 4.50f, 4.61f, 5.17f, 4.53f, 5.33f, 5.14f},
    {4.81f, 4.17f, 4.41f, 3.59f, 5.87f, 3.83f, 6.03f, 4.89f, 4.32f, 4.69f},
    {6.31f, 5.12f, 5.54f, 5.50f, 5.37f, 5.29f, 4.92f, 6.15f, 5.80f, 5.26f}};

struct Row {
  int first, second;
  double z, p, p_holm, p_holm_max, chi, p_nemenyi;
};

void expect_rows(const KruskalWallis& kw, const std::vector<Row>& rows) {
  ASSERT_EQ(kw.comparisons.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Comparison& c = kw.comparisons[i];
    const Row& e = rows[i];
    EXPECT_EQ(c.first, e.first) << i;
    EXPECT_EQ(c.second, e.second) << i;
    EXPECT_NEAR(std::fabs(c.z), e.z, 2e-6 * e.z) << i;
    // p from the 13-term series in single precision; p* carries the factor M - r + 1.
    EXPECT_NEAR(c.p, e.p, 1e-7 + 1e-6 * e.p) << i;
    EXPECT_NEAR(c.p_holm, e.p_holm, 2e-6 + 1e-6 * e.p_holm) << i;
    EXPECT_NEAR(c.p_holm_max, e.p_holm_max, 2e-6 + 1e-6 * e.p_holm_max) << i;
    EXPECT_NEAR(c.chi, e.chi, 1e-6 * e.chi + 1e-7) << i;
    // 1 - FNChi, FNChi a single-precision value.
    EXPECT_NEAR(c.p_nemenyi, e.p_nemenyi, 2e-7 + 1e-6 * e.p_nemenyi) << i;
  }
}

TEST(KruskalWallis, GlobalTestAgreesWithR) {
  // R: kruskal.test(list(x, y, z)): chi-squared = 0.771428571429, df = 2, p = 0.679964773579
  KruskalWallis kw = run_kw(airways);
  EXPECT_EQ(kw.k, 3);
  EXPECT_EQ(kw.total, 14);
  EXPECT_NEAR(kw.h, 0.771428571429, 1e-6);
  EXPECT_NEAR(kw.p, 0.679964773579, 2e-7);
  EXPECT_FALSE(kw.all_tied);

  // R: kruskal.test(weight ~ group, PlantGrowth): 7.98822874944, p = 0.0184237557315
  kw = run_kw(plant_growth);
  EXPECT_NEAR(kw.h, 7.98822874944, 1e-5);
  EXPECT_NEAR(kw.p, 0.0184237557315, 2e-7);

  // R: kruskal.test(count ~ spray, InsectSprays): 54.6913446224, df = 5, p = 1.51084443942e-10
  kw = run_kw(insect_sprays);
  EXPECT_NEAR(kw.h, 54.6913446224, 5e-5);
  EXPECT_LT(kw.p, 1e-7);  // 1 - FNChi: below the resolution of a single-precision value near 1
  EXPECT_EQ(kw.k, 6);
}

TEST(KruskalWallis, ComparisonTableAgreesWithADirectComputationInR) {
  // R: dunn(list(x, y, z)) for the lung-function data.
  expect_rows(run_kw(airways), {
                                   {2, 3, 0.8552359741, 0.3924205245, 1, 1, 0.73142857143, 0.6937009732},
                                   {1, 2, 0.6414269806, 0.5212453081, 1, 1, 0.41142857143, 0.8140656332},
                                   {1, 3, 0.2267786838, 0.8205958398, 0.8205958398, 1, 0.05142857143, 0.9746135108},
                               });
  // R: dunn(split(PlantGrowth$weight, PlantGrowth$group)); the tie 4.17 enters only pair (1, 2).
  expect_rows(run_kw(plant_growth),
              {
                  {2, 3, 2.806702807, 0.005005139503, 0.01501541851, 0.01501541851, 7.877580645, 0.01947175505},
                  {1, 3, 1.689101689, 0.091199944224, 0.18239988845, 0.18239988845, 2.853064516, 0.24014022437},
                  {1, 2, 1.117725454, 0.263684267891, 0.26368426789, 0.26368426789, 1.249032258, 0.53552048866},
              });
  // R: dunn(split(InsectSprays$count, InsectSprays$spray))
  const KruskalWallis kw = run_kw(insect_sprays);
  expect_rows(
      kw, {
              {3, 6, 5.1699823695, 2.341160807e-07, 3.511741211e-06, 3.511741211e-06, 26.72184170472, 6.461532799e-05},
              {2, 3, 5.0774761923, 3.824814152e-07, 5.354739813e-06, 5.354739813e-06, 25.77247431507, 9.877445066e-05},
              {1, 3, 4.7653162727, 1.885576456e-06, 2.451249392e-05, 2.451249392e-05, 22.70093702435, 3.850206865e-04},
              {5, 6, 4.2481647584, 2.155288675e-05, 2.586346411e-04, 2.586346411e-04, 18.04226122527, 2.893903220e-03},
              {2, 5, 4.1555955118, 3.244413719e-05, 3.568855090e-04, 3.568855090e-04, 17.26369863014, 4.025907748e-03},
              {1, 5, 3.8434381025, 1.213226091e-04, 1.213226091e-03, 1.213226091e-03, 14.76750380518, 1.140335268e-02},
              {4, 6, 3.5168180029, 4.367531370e-04, 3.930778233e-03, 3.930778233e-03, 12.36303748097, 3.013809283e-02},
              {2, 4, 3.4242244176, 6.165568265e-04, 4.932454612e-03, 4.932454612e-03, 11.72003424658, 3.883199736e-02},
              {1, 4, 3.1120694433, 1.857807920e-03, 1.300465544e-02, 1.300465544e-02, 9.68046042618, 8.481241271e-02},
              {3, 4, 1.6538578136, 9.815640593e-02, 5.889384356e-01, 5.889384356e-01, 2.73309075342, 7.410528875e-01},
              {3, 5, 0.9222775297, 3.563838317e-01, 1, 1, 0.84952910959, 9.737672528e-01},
              {4, 5, 0.7321018411, 4.641064102e-01, 1, 1, 0.53510273973, 9.907815218e-01},
              {1, 6, 0.4048161190, 6.856126794e-01, 1, 1, 0.16383656773, 9.994548320e-01},
              {1, 2, 0.3121749824, 7.549075438e-01, 1, 1, 0.09741248097, 9.998478403e-01},
              {2, 6, 0.0926694953, 9.261661319e-01, 9.261661319e-01, 1, 0.00858542618, 9.999996378e-01},
          });
  // Z keeps its sign: spray C lies below spray F.
  EXPECT_LT(kw.comparisons[0].z, 0.0f);
}

// The series as first written, term by term with its own exp and sin: the reference for the
// precomputed coefficients and the sines by rotation.
real series_phi_term_by_term(real z) {
  if (z >= 7) return 1;
  const real pi = 4 * std::atan(1.0L);
  const real scale = std::sqrt(2.0L) * z / 3;
  real sum = 0;
  for (int n = 0; n <= 12; ++n) {
    const real a = n + 0.5L;
    sum += std::exp(-a * a / 9) * std::sin(a * scale) / a;
  }
  return 0.5L + sum / pi;
}

TEST(KruskalWallis, SeriesNormalDistributionMatchesPnormAndTheTermByTermSum) {
  const SeriesPhi series_phi;
  // R: pnorm(c(0, 0.5, 1, 1.96, 2.5, 3, 4, 5, 6))
  const double z[] = {0, 0.5, 1, 1.96, 2.5, 3, 4, 5, 6};
  const double phi[] = {0.5,
                        0.691462461274,
                        0.841344746069,
                        0.975002104852,
                        0.993790334674,
                        0.998650101968,
                        0.999968328758,
                        0.999999713348,
                        0.999999999013};
  for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(static_cast<double>(series_phi(z[i])), phi[i], 2e-11) << z[i];
  EXPECT_EQ(series_phi(7), 1.0L);
  EXPECT_EQ(series_phi(12.5L), 1.0L);
  // Just below 7 the truncated series is still within 3e-10 of 1.
  EXPECT_NEAR(static_cast<double>(series_phi(6.99L)), 1.0, 3e-10);

  // |Z| on a grid of 0.0002 and at random: the p of the table, 2 (1 - Phi), prints the same
  // digits as from the term-by-term sum, and where it shows any (p above 5e-7) it is almost
  // always the same float.
  std::mt19937 random(15);
  std::uniform_real_distribution<float> uniform(0.0f, 7.0f);
  int differing_floats = 0;
  for (int i = 0; i < 70000; ++i) {
    const float abs_z = i < 35000 ? static_cast<float>(i) / 5000.0f : uniform(random);
    const real fast = series_phi(abs_z), reference = series_phi_term_by_term(abs_z);
    ASSERT_NEAR(static_cast<double>(fast - reference), 0.0, 1e-17) << abs_z;
    const float p_fast = to_float(2 * (1 - fast)), p_reference = to_float(2 * (1 - reference));
    if (p_reference > 5e-7f) differing_floats += p_fast != p_reference;
    ASSERT_EQ(picture_format("##.######", p_fast), picture_format("##.######", p_reference)) << abs_z;
  }
  EXPECT_LE(differing_floats, 3);
}

// The row order of the comparison table as first written: an exchange sort, quadratic in the
// number of rows.  The reference for order_by_abs_z.
void exchange_sort(std::vector<Comparison>& rows) {
  for (std::size_t a = 0; a + 1 < rows.size(); ++a)
    for (std::size_t b = a + 1; b < rows.size(); ++b)
      if (!(std::fabs(rows[a].z) > std::fabs(rows[b].z))) std::swap(rows[a], rows[b]);
}

std::vector<int> row_order(const std::vector<Comparison>& rows) {
  std::vector<int> order;
  for (const auto& r : rows) order.push_back(r.first);
  return order;
}

TEST(KruskalWallis, RowsOrderedAsTheExchangeSortOrdersThemTiesIncluded) {
  std::vector<Comparison> rows(4);
  const float z[] = {1, -3, 2, 3};
  for (std::size_t i = 0; i < 4; ++i) rows[i].z = z[i], rows[i].first = static_cast<int>(i) + 1;
  order_by_abs_z(rows);
  // Positions compared with every later one, exchanged unless strictly larger:
  // [1,-3,2,3] -> [-3,1,2,3] -> [3,1,2,-3] -> [3,2,1,-3] -> [3,-3,1,2] -> [3,-3,2,1].
  EXPECT_EQ(row_order(rows), (std::vector<int>{4, 2, 3, 1}));

  // Random tables of up to 300 rows whose |Z| take a few values only (both signs, and zeros of
  // both signs), so that most rows tie with others.
  std::mt19937 random(99);
  for (int trial = 0; trial < 400; ++trial) {
    const std::size_t m = 1 + random() % 300;
    const int levels = 1 + static_cast<int>(random() % 12);
    std::vector<Comparison> table(m);
    for (std::size_t i = 0; i < m; ++i) {
      const float magnitude = static_cast<float>(random() % static_cast<unsigned>(levels)) * 0.25f;
      table[i].z = random() % 2 ? -magnitude : magnitude;
      table[i].first = static_cast<int>(i);
    }
    std::vector<Comparison> expected = table;
    exchange_sort(expected);
    order_by_abs_z(table);
    ASSERT_EQ(row_order(table), row_order(expected)) << "trial " << trial;
  }
}

TEST(KruskalWallis, HolmMaximumNeverDecreasesDownTheTable) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 25; ++trial) {
    std::vector<std::vector<float>> groups(3 + random() % 5);
    for (auto& g : groups)
      for (int j = 0, n = 2 + static_cast<int>(random() % 8); j < n; ++j)
        g.push_back(static_cast<float>(random() % 15));
    const KruskalWallis kw = run_kw(groups);
    const auto m = kw.comparisons.size();
    ASSERT_EQ(m, groups.size() * (groups.size() - 1) / 2);
    float previous = 0;
    for (std::size_t r = 0; r < m; ++r) {
      const Comparison& c = kw.comparisons[r];
      EXPECT_GE(c.p_holm_max, previous) << trial << " " << r;
      EXPECT_GE(c.p_holm_max, c.p_holm);
      EXPECT_LE(c.p_holm, 1.0f);
      EXPECT_NEAR(c.p_holm, std::min(1.0, static_cast<double>(c.p) * static_cast<double>(m - r)), 1e-6);
      if (r > 0) {
        EXPECT_GE(std::fabs(kw.comparisons[r - 1].z), std::fabs(c.z));
      }
      previous = c.p_holm_max;
    }
  }
}

TEST(KruskalWallis, SketchMarksExtremesAndMedian) {
  // lo = 1, hi = 8: column = INT((x - 1) * 10 + 0.5) + 1.
  const KruskalWallis kw = run_kw({{1, 2, 3}, {2, 5, 8}, {4, 4}}, {3, 12, 5});
  const std::vector<std::string> expected = {
      "----------3----------",
      std::string(10, ' ') + std::string(30, '-') + "0" + std::string(30, '-'),  // group 12: "0"
      std::string(30, ' ') + "5",  // minimum, maximum and median in one column
  };
  EXPECT_EQ(location_sketch(kw.summary), expected);
}

TEST(KruskalWallis, AllTiedValuesGiveZeroHAndNoSketch) {
  const KruskalWallis kw = run_kw({{5, 5}, {5, 5, 5}, {5, 5}});
  EXPECT_TRUE(kw.all_tied);
  EXPECT_EQ(kw.h, 0.0f);
  EXPECT_EQ(kw.p, 1.0f);
  for (const auto& c : kw.comparisons) {
    EXPECT_EQ(c.z, 0.0f);
    EXPECT_EQ(c.p, 1.0f);
  }
  const auto lines = written_lines([&](ReportFile& r) { write_kruskal_wallis(r, kw); });
  EXPECT_EQ(lines.at(2), "H =   0.0000 : Chi\xB2-verteilt mit df = 2 ( p = 1.000000 )");
  EXPECT_FALSE(contains_text(lines, "Lageskizze"));
  EXPECT_TRUE(contains_text(lines, "DUNN-TESTs"));
}

TEST(KruskalWallis, LargeZIsPrintedCapped) {
  KruskalWallis kw = run_kw(airways);
  kw.comparisons[0].z = -150.0f;
  kw.comparisons[1].z = 99.999f;
  const auto lines = written_lines([&](ReportFile& r) { write_kruskal_wallis(r, kw); });
  const auto row =
      std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("  1   2 versus", 0) == 0; });
  ASSERT_NE(row, lines.end());
  // 99.9999 in "###.###".
  EXPECT_EQ(row->substr(17, 8), " 100.000");
  EXPECT_EQ((row + 1)->substr(17, 8), "  99.999");
}

TEST(KruskalWallis, ReportNamesTheGroupsByTheirNumbers) {
  // The whole layout is pinned by the golden report (RankTests.KReportMatchesTheGoldenFile);
  // here the lung-function data with other group numbers.  Sketch columns from
  // INT((x - 2) * 35 + 0.5) + 1 on the single-precision values: group 1 from 19 to 43, median 33;
  // group 2 from 15 to 71, median 45; group 3 from 1 to 61, median 29.
  const auto lines = written_lines([&](ReportFile& r) { write_kruskal_wallis(r, run_kw(airways, {40, 7, 300})); });
  EXPECT_EQ(lines.at(2), "H =   0.7714 : Chi\xB2-verteilt mit df = 2 ( p = 0.679965 )");
  EXPECT_EQ(lines.at(7).substr(0, 16), "Stichprobe 40  |");
  EXPECT_EQ(lines.at(14), "                  --------------0----------");
  EXPECT_EQ(lines.at(15), "              ------------------------------7--------------------------");
  EXPECT_EQ(lines.at(16), "----------------------------0--------------------------------");
  // R: dunn(list(x, y, z)), first row: groups 2 and 3, |Z| 0.8552359741, chi 0.73142857143
  EXPECT_EQ(lines.at(23).substr(0, 33), "  1   7 versus300   0.855  0.3924");
  EXPECT_EQ(lines.at(25).substr(0, 17), "  3  40 versus300");
  EXPECT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines.at(31), "Literatur:");
}

}  // namespace
}  // namespace veltrum
