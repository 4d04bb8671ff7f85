// The median test: the median and the table, the warning, the corrected chi-square against R's
// chisq.test(correct = TRUE), Fisher's test of the table, and the report lines.
#include "independent/median_test.hpp"

#include <gtest/gtest.h>

#include "frame/errors.hpp"
#include "rank_test_support.hpp"

namespace veltrum {
namespace {

using testing::make_table;

struct Case {
  const char* name;
  std::vector<float> x, y;
  float median;
  std::array<int, 4> table;  // group 1 below, at or above; group 2 below, at or above
  bool warning;
  double chi_square, p;  // -1: not defined
  double one_sided, two_sided;
};

// R: x, y as below; M <- median(c(x, y)); t <- rbind(c(sum(x < M), sum(x >= M)),
// c(sum(y < M), sum(y >= M))); chisq.test(t, correct = TRUE); fisher.test(t, alternative = ...).
const Case cases[] = {
    // PlantGrowth weight, trt1 and trt2: M = 5.19; X-squared = 5, p = 0.0253473186775 (N = 20,
    // every expected count exactly 5: no warning); fisher.test greater 0.0115070687826,
    // two-sided 0.0230141375652.
    {"PlantGrowth",
     {4.81, 4.17, 4.41, 3.59, 5.87, 3.83, 6.03, 4.89, 4.32, 4.69},
     {6.31, 5.12, 5.54, 5.5, 5.37, 5.29, 4.92, 6.15, 5.8, 5.26},
     5.19f,
     {8, 2, 2, 8},
     false,
     5,
     0.0253473186775,
     0.0115070687826,
     0.0230141375652},
    // N odd: M is the middle value 4 and counts at or above.  Table (3, 1; 0, 3):
    // chisq.test 1.47048611111, p 0.225269011985 (|ad - bc| = 9 >= N/2, so R's Yates term is
    // ours); fisher.test greater 0.114285714286, two-sided 0.142857142857.
    {"odd N",
     {1, 2, 3, 4},
     {5, 6, 7},
     4,
     {3, 1, 0, 3},
     true,
     1.47048611111,
     0.225269011985,
     0.114285714286,
     0.142857142857},
    // 9 and 10 values: N = 19 warns even with well-filled cells.  Table (9, 0; 0, 10):
    // chisq.test 15.2005864198, p 9.66733950789e-05; fisher.test greater and two-sided
    // 1.08250882245e-05 = 1 / choose(19, 9).
    {"N = 19",
     {1, 2, 3, 4, 5, 6, 7, 8, 9},
     {10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
     10,
     {9, 0, 0, 10},
     true,
     15.2005864198,
     9.66733950789e-05,
     1.08250882245e-05,
     1.08250882245e-05},
    // A balanced table: |ad - bc| = 0 is below N/2, and the difference is squared as it is:
    // 20 (0 - 10)^2 / 10^4 = 0.2 (R's chisq.test limits the correction and gives 0), p from
    // 1 - pchisq(0.2, 1) = 0.654720846019.  fisher.test less 0.671859100652, two-sided 1.
    {"balanced",
     {1, 2, 3, 4, 5, 11, 12, 13, 14, 15},
     {6, 7, 8, 9, 10, 16, 17, 18, 19, 20},
     10.5f,
     {5, 5, 5, 5},
     false,
     0.2,
     0.654720846019,
     0.671859100652,
     1},
    // All values at or above M: no chi-square, Fisher's p is 1 (only this table has its margins).
    {"empty column", {1, 1, 1}, {1, 1, 2}, 1, {0, 3, 0, 3}, true, -1, -1, 1, 1},
};

TEST(MedianTest, TableChiSquareAndFisherMatchR) {
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    const MedianTest r = median_test(make_table({t.x, t.y}));
    EXPECT_EQ(r.median, t.median);
    EXPECT_EQ((std::array<int, 4>{r.below[0], r.at_or_above[0], r.below[1], r.at_or_above[1]}), t.table);
    EXPECT_EQ(r.total, static_cast<int>(t.x.size() + t.y.size()));
    EXPECT_EQ(r.warning, t.warning);
    EXPECT_EQ(r.chi_square_defined, t.chi_square >= 0);
    if (t.chi_square >= 0) {
      EXPECT_NEAR(r.chi_square, t.chi_square, 1e-6 * t.chi_square);
      EXPECT_NEAR(r.p_chi_square, t.p, 2e-7 + 1e-5 * t.p);
    }
    EXPECT_NEAR(r.fisher.one_sided, t.one_sided, 1e-5 * t.one_sided);
    EXPECT_NEAR(r.fisher.two_sided, t.two_sided, 1e-5 * t.two_sided);
  }
}

TEST(MedianTest, MoreThan2001PooledValuesAreAnIndexError) {
  const auto x = testing::arithmetic(1001, 0, 1);
  EXPECT_THROW(median_test(make_table({x, x})), IndexError);
  EXPECT_NO_THROW(median_test(make_table({x, testing::arithmetic(1000, 0.5f, 1)})));
  EXPECT_THROW(median_test(make_table({x, {}})), RunError);
}

TEST(MedianTest, ReportLines) {
  // Rows (5, 1) and (1, 5): 12 values, so the warning; chi-square 12 (|25 - 1| - 6)^2 / 6^4 = 3,
  // R: 1 - pchisq(3, 1) = 0.0832645166636; Fisher 0.040043 and 0.080087 (R above).
  const auto table = make_table({{1, 2, 3, 4, 5, 7}, {6, 8, 9, 10, 11, 12}});
  const auto lines = testing::written_lines([&](ReportFile& rep) { write_median_test(rep, median_test(table)); });
  const std::vector<std::string> expected = {
      "Resultierende Tafel ( M = Overall-Median = 6.5 )",
      "",
      "                 < M <=M  |",
      "--------------------------+-----",
      "Stichprobe 1 :     5   1  |    6",
      "Stichprobe 2 :     1   5  |    6",
      "--------------------------+-----",
      "Gesamt:            6   6  |   12",
      "",
      "",
      "VORSICHT: Die Test-Voraussetzung phi(ij)>=5 und n>=20 ist nicht erf\xfcllt.",
      "Bitte f\xfcr die ermittelten H\xe4ufigkeiten Fisher's exakten Test verwenden.",
      "",
      "",
      "",
      "Chi\xb2 =   3.0000 (p = 0.083265, zweiseitig approximativ)",
      "",
      "Fisher's Test:  (p = 0.040043, ein!seitig exakter Test)",
      "Fisher's Test:  (p = 0.080087, zweiseitig exakter Test)",
      "",
      "",
      "Literatur: Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences, Kap. 6. "
      "McGraw-Hill, New York 1988."};
  EXPECT_EQ(lines, expected);

  // No chi-square line for an empty column, and a failed Fisher test in words.
  MedianTest odd;
  odd.below = {0, 0}, odd.at_or_above = {3, 3}, odd.total = 6, odd.median = 1, odd.warning = false;
  const auto failed = testing::written_lines([&](ReportFile& rep) { write_median_test(rep, odd); });
  ASSERT_GT(failed.size(), 12u);
  EXPECT_EQ(failed[10], "Chi\xb2-Test ist nicht ausf\xfchrbar (eine Randsumme ist Null)!");
  EXPECT_EQ(failed[11], "Exakter Test ist nicht ausf\xfchrbar!");
  EXPECT_FALSE(testing::contains_text(failed, "Chi\xb2 ="));
}

}  // namespace
}  // namespace veltrum
