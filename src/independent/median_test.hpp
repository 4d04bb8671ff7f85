// The median test of two independent groups: each group's values below, and at or above, the
// median of both groups together, as a 2x2 table; the chi-square test of that table with the
// continuity correction, a warning when the expected counts are too small for it, and Fisher's
// exact test of the same table.
//
// Reference: Siegel, S., Castellan, N.J.: Nonparametric Statistics for the Behavioral Sciences,
// 2nd ed., sections 6.2 and 6.3 (1988); Mood, A.M.: Introduction to the Theory of Statistics
// (1950), the median test.
#pragma once

#include "frame/result.hpp"

#include <array>

#include "independent/fisher_exact.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;

// The pooled values of both groups fill a table of this many entries; one more is an index
// beyond the table.
inline constexpr int median_pool_capacity = 2001;

struct MedianTest {
  float median = 0;  // M, of both groups together
  // below[g], at_or_above[g]: the values of group g = 0, 1 below M, and at or above M.
  std::array<int, 2> below{}, at_or_above{};
  int total = 0;  // N = n1 + n2

  int row_total(int g) const { return below[g] + at_or_above[g]; }
  int below_total() const { return below[0] + below[1]; }
  int at_or_above_total() const { return at_or_above[0] + at_or_above[1]; }

  // N < 20, or an expected count (column total times row total over N) below 5.
  bool warning = false;
  // False when a column total is 0 (all values on one side of M): the table has only itself
  // with its margins, and the chi-square statistic is not defined.
  bool chi_square_defined = false;
  float chi_square = 0;  // N (|ad - bc| - N/2)^2 / (product of the margins), the difference squared as it is
  float p_chi_square = 1;
  FisherExact fisher;
  DataUsed used;

  // Chi-square (approximate, where defined), Fisher's one- and two-sided (exact).
  std::vector<PValue> p_values() const;
};

// The statistics for groups 1 and 2 of the sample table (n(i) >= 2).  More than
// median_pool_capacity values throw IndexError, an empty group RunError.
MedianTest median_test(const SampleTable& table);

// The report lines after the input block: the table, the warning, chi-square, Fisher, literature.
void write_median_test(ReportFile& report, const MedianTest& result);

}  // namespace veltrum
