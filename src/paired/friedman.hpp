// Friedman's test for c related samples in r blocks, with all pairwise comparisons of the
// columns: the Wilcoxon-Wilcox test against its tabled critical differences for r <= 25 and
// c <= 10, the Schaich-Hamerle chi-square comparisons otherwise.
//
// Each row is ranked on its own (ties get their mean rank); R(j) is the rank sum of column j and
// T the sum of t^3 - t over the tie groups of all rows.
//   chi_r = 12 sum (R(j) - r(c+1)/2)^2 / (r c (c+1)),   chi^2 = r chi_r / (r - T / (c^3 - c)),
// chi-square with c - 1 degrees of freedom.  The F form of Rijkoort and Wise,
//   F = (r - 1) chi^2 / ((c - 1) r - chi^2),  with (c - 1, (c - 1)(r - 1)) degrees of freedom,
// is usually closer to the exact distribution.
//
// References: Friedman (1937), JASA 32, 675-701; Rijkoort & Wise (1953), see Iman & Davenport
// (1980), Comm. Statist. A 9, 571-595; Wilcoxon & Wilcox (1964); Schaich & Hamerle (1984),
// Verteilungsfreie statistische Prüfverfahren, Springer.
#pragma once

#include "frame/result.hpp"

#include <vector>

#include "paired/block_table.hpp"

namespace veltrum {

class ReportFile;

// Where a Wilcoxon-Wilcox difference stands against the two critical differences.
enum class Significance { none, five_percent, one_percent };

// Columns `first` < `second` (1-based).
struct ColumnComparison {
  int first = 0, second = 0;
  // Wilcoxon-Wilcox: |R(second) - R(first)|.  Schaich-Hamerle: (R(first) - R(second)) / r.
  float d = 0;
  Significance level = Significance::none;  // Wilcoxon-Wilcox
  float chi = 0;                            // Schaich-Hamerle: 6 r D^2 / (c (c+1))
  float p = 1;                              // Schaich-Hamerle: 1 - P(chi-square(c - 1) <= chi)

  // Wilcoxon-Wilcox: the class of p against the tabled levels; Schaich-Hamerle: p.
  std::vector<PValue> p_values(bool schaich_hamerle) const;
};

struct Friedman {
  int r = 0, c = 0;
  std::vector<float> rank_sum;  // R(1..c) at 0..c-1
  float ties = 0;               // T
  // Every row completely tied: r - T/(c^3 - c) is 0 and the statistic 0/0.  The rows then say
  // nothing about the columns; the report shows chi^2 = 0 (p = 1) and F = 0 (p = 1).
  bool all_tied = false;
  float chi = 0;
  int df = 0;
  float p = 1;
  float f = 0;  // 9999 when every row ranks the columns alike (chi^2 at its maximum (c - 1) r)
  int df1 = 0, df2 = 0;
  float p_f = 1;
  bool exact_note = false;  // small designs: exact tables exist
  bool schaich_hamerle = false;
  float d05 = 0, d01 = 0;                     // Wilcoxon-Wilcox critical differences
  std::vector<ColumnComparison> comparisons;  // (1,2), (1,3), ..., (c-1,c)
  DataUsed used;

  // Friedman's chi-square and Rijkoort-Wise's F.
  std::vector<PValue> p_values() const;
};

// Whether exact tables of the Friedman statistic cover the design.
bool exact_table_applies(int r, int c);

// The statistics for r >= 2 rows and c >= 3 columns.
Friedman friedman(const BlockTable& table);

// The report lines after the loader's input block.
void write_friedman(ReportFile& report, const Friedman& result);

}  // namespace veltrum
