// Kruskal-Wallis test for k >= 3 independent groups with all pairwise comparisons: Dunn's
// rank-sum tests with Holm's sequentially rejective correction, side by side with the
// chi-square approximation of the Nemenyi tests.
//
// References: Kruskal & Wallis (1952), JASA 47, 583-621; Dunn (1964), Technometrics 6, 241-252;
// Holm (1979), Scand. J. Statist. 6, 65-70; Nemenyi (1963), and Hollander & Wolfe,
// Nonparametric Statistical Methods, ch. 6.
#pragma once

#include "frame/result.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/numbers.hpp"
#include "independent/ranking.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;

// One pairwise comparison of groups `first` < `second` (indices into the sample table).
struct Comparison {
  int first = 0, second = 0;
  std::int16_t first_number = 0, second_number = 0;  // their group numbers
  float z = 0;                                       // (R(first)/n(first) - R(second)/n(second)) / sqrt(V)
  float p = 0;                                       // 2 (1 - Phi(|Z|)), Phi by the 13-term series
  float p_holm = 0;                                  // p (M - r + 1), at most 1, r = row in |Z|-descending order
  float p_holm_max = 0;                              // the largest p* of rows 1..r
  float chi = 0;                                     // Nemenyi chi-square
  float p_nemenyi = 0;                               // P(chi-square(k - 1) > chi)
};

struct KruskalWallis {
  int k = 0;
  int total = 0;  // N
  float h = 0;    // with the tie correction; 0 when all values are tied
  bool all_tied = false;
  float p = 1;  // P(chi-square(k - 1) > H)
  std::vector<GroupSummary> summary;
  std::vector<Comparison> comparisons;  // M = k(k-1)/2 rows, by |Z| descending
  DataUsed used;

  // The global test's p (the comparisons carry their own).
  std::vector<PValue> p_values() const;
};

// The standard normal distribution function for z >= 0 as the pairwise tests compute it: 1 from
// 7 on, otherwise 1/2 + (1/pi) sum over n = 0..12 of exp(-(n+1/2)^2/9) sin((n+1/2) sqrt(2) z/3)
// / (n+1/2), a truncated Fourier series of the normal integral (absolute error below 1e-10).
// The coefficients exp(-(n+1/2)^2/9) / ((n+1/2) pi) are computed once, when the object is made;
// each call takes one sine and one cosine of the half angle and gets the 13 sines by rotation.
class SeriesPhi {
 public:
  SeriesPhi();
  real operator()(real z) const;

 private:
  std::array<real, 13> coefficient_{};
  real root2_ = 0;  // sqrt(2), once: in WebAssembly long double is software arithmetic
};

// Rows ordered by |Z| descending, rows of equal |Z| in the reverse of their order before.  This
// is the order of the exchange sort the comparison table has always had (each position compared
// with every later one, the two rows exchanged unless the earlier |Z| is strictly larger): its
// pass for position a moves the last of the largest rows there and keeps the order of the others
// among rows of equal |Z|.  |Z| is never NaN: every group holds a value, so V is finite.
void order_by_abs_z(std::vector<Comparison>& rows);

// The location sketch, one line per group: columns 1..71 spanning the smallest minimum to the
// largest maximum, "-" from the group's minimum to its maximum, the group number (one digit, "0"
// from 10 on) at its median.  Only for data that are not all tied.
std::vector<std::string> location_sketch(const std::vector<GroupSummary>& summary);

// The statistics for a ranked table with k >= 3 groups.
KruskalWallis kruskal_wallis(const SampleTable& table, const Ranking& ranking);

// The report lines after the input block.
void write_kruskal_wallis(ReportFile& report, const KruskalWallis& result);

}  // namespace veltrum
