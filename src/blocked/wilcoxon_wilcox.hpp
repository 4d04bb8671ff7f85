// Critical differences of the Wilcoxon-Wilcox test: all pairwise comparisons of c treatments in
// r blocks by their rank sums of the Friedman ranking.  Two rank sums differ at the level when
// their absolute difference reaches the tabled value.
//
// Source: Wilcoxon, F., Wilcox, R.A.: Some Rapid Approximate Statistical Procedures, revised
// edition.  Lederle Laboratories, Pearl River, New York 1964, the table of critical differences
// for the two-way classification, levels 0.05 and 0.01 (two-sided), n = 1 to 25 blocks, k = 3 to
// 10 treatments; reprinted in Sachs, L.: Angewandte Statistik, Springer.
#pragma once

namespace veltrum {

inline constexpr int ww_max_rows = 25;
inline constexpr int ww_min_columns = 3;
inline constexpr int ww_max_columns = 10;

enum class WilcoxonWilcoxLevel { five_percent, one_percent };

// The critical difference for r = 1..25 blocks and c = 3..10 columns.
float wilcoxon_wilcox_difference(WilcoxonWilcoxLevel level, int rows, int columns);

}  // namespace veltrum
