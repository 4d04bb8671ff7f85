// Wilcoxon-Mann-Whitney U test for two independent groups: U with the exact p from the null
// distribution of the rank sum (where its table fits) or the normal approximation with the tie
// correction; the Mann-Whitney estimator of P(X1 < X2) with asymptotic confidence intervals; the
// Hodges-Lehmann estimator of the shift with Moses confidence intervals.
//
// References: Hollander & Wolfe, Nonparametric Statistical Methods, ch. 4 (rank-sum test,
// Hodges-Lehmann estimator, Moses interval); Lehmann, Nonparametrics: Statistical Methods Based
// on Ranks (the null distribution of the rank sum, the normal approximation with ties); the
// variance estimate of the Mann-Whitney estimator as used by Wellek, Testing Statistical
// Hypotheses of Equivalence, for the Mann-Whitney equivalence test.
#pragma once

#include <array>

#include <cstdint>
#include <vector>

#include "frame/busy.hpp"
#include "frame/confidence_levels.hpp"
#include "frame/result.hpp"

#include "independent/ranking.hpp"
#include "independent/sample_table.hpp"

namespace veltrum {

class ReportFile;

// ---- Exact null distribution of the rank sum ----------------------------------------------

// The counting table may hold at most this many single-precision counts.
inline constexpr long exact_count_limit = 100000;

// 1 + sum over j = 0..m of (1 + j(N - j)): what the table for subset sizes 0..m out of the ranks
// 1..N needs (the blocks of attainable rank sums plus one).
long exact_table_size(int m, int total);

struct ExactTail {
  float one_sided = -1;  // P1: the smaller tail at u, -1 when the table would be too large
  float two_sided = -1;  // 2 P1, or 1 when P1 exceeds 0.5; -1 likewise
};

// Exact tail probability of U = u for two samples of sizes m and n without ties: the number of
// ways m of the ranks 1..N give each rank sum is counted in place, rank by rank, in one array of
// single-precision counts (one block per subset size).  When the table would exceed
// exact_count_limit counts, both results are -1 at once.
ExactTail exact_u_tail(std::int16_t m, std::int16_t n, std::int16_t u);

// ---- The test ------------------------------------------------------------------------------

struct Interval {
  float level = 0;
  float lower = 0, upper = 0;
};

// Above this many differences the Hodges-Lehmann part is skipped.
inline constexpr long hodges_lehmann_limit = 250000;

struct UTest {
  std::int16_t group1 = 0, group2 = 0;  // group numbers
  float n1 = 0, n2 = 0;
  float u1 = 0, u2 = 0, u = 0;  // U = min(U1, U2)
  float variance = 0;           // of U under H0, with the tie correction
  float z = 0;                  // |U - n1 n2 / 2| / sqrt(V), 0 when V is 0
  float p_approx = 1;           // 2 P(Z > |z|), the upper tail taken directly

  bool exact = false;          // an exact p is available
  float p_exact = -1;          // at U when it is whole, else the conservative p
  std::int16_t u_rounded = 0;  // INT(U + 0.5), named in the conservative line
  bool interpolated = false;   // U not whole and the p at the neighbouring value exists
  float p_interpolated = -1;

  float estimate = 0;            // Mann-Whitney estimator of P(X1 < X2), ties counted one half
  bool simple_variance = false;  // both groups above 150: p(1-p)/min(n1, n2)
  float estimate_variance = 0;
  bool estimate_intervals = false;  // false when the variance estimate is negative
  std::array<Interval, 4> estimate_limits{};

  bool hodges_lehmann = false;  // n1 n2 <= 250000
  float shift = 0;              // Hodges-Lehmann estimator of the shift X1 - X2
  std::vector<Interval> moses;  // levels whose h is above 0
  bool moses_note = false;      // both groups below 10: the intervals are approximate

  std::vector<GroupSummary> summary;
  DataUsed used;

  // The p-values the report gives: the exact one (at U, conservative, interpolated) where it
  // exists, and the approximate one of Z (also of U when there is no exact one).
  std::vector<PValue> p_values() const;
};

// q1 and q2 of the variance estimate of the Mann-Whitney estimator: the sums over pairs of
// group-1 values with a common group-2 value (q1), and over pairs of group-2 values with a
// common group-1 value (q2), of h(a, b) h(a', b) with h(a, b) = 1 for b < a, 1/2 for b = a,
// 0 otherwise, divided by the number of such terms.  Computed from the counts below and equal to
// each value of the other group, so the cost is that of a sort.
struct PairSums {
  real q1 = 0, q2 = 0;
};
PairSums mann_whitney_pair_sums(const SampleTable& table);

// The statistics for groups 1 and 2 of a ranked sample table (n(i) >= 2).  `busy` is told while
// the exact distribution and the variance estimate are computed.
UTest u_test(const SampleTable& table, const Ranking& ranking, const BusySignal& busy = {});

// The result lines, the group summary table and the literature block.
void write_u_test(ReportFile& report, const UTest& result);

}  // namespace veltrum
