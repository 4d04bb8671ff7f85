// Wilcoxon's matched-pairs signed-rank test for two related samples, with the Hodges-Lehmann
// estimate of the shift and Tukey's distribution-free confidence intervals.
//
// The test ranks the non-zero differences x - y by their absolute values (mid-ranks for ties)
// and takes R^ = min(R+, R-): the exact two-sided p from FIDIS for up to 180 non-zero
// differences, and the normal approximation without continuity or tie correction always.  The
// estimate and the intervals use all n differences, zeros included: the median of the
// n(n+1)/2 Walsh averages, and the interval [W(k+1), W(M-k)] between Walsh averages, with k from
// the tables of the signed-rank distribution for n <= 20 and from the normal approximation above.
//
// References: Hollander & Wolfe, Nonparametric Statistical Methods (1999), ch. 3 (signed-rank
// test, Hodges-Lehmann estimator, Tukey's interval); Lehmann, Nonparametrics: Statistical
// Methods Based on Ranks (1975), ch. 3 and 4.
#pragma once

#include "frame/result.hpp"

#include "frame/busy.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/numbers.hpp"
#include "paired/pair_table.hpp"

namespace veltrum {

class ReportFile;

// Above this n the Walsh averages, the estimate and the intervals are left out.
inline constexpr int walsh_limit = 500;

// Tukey's intervals are tabled at three of the module's confidence levels (no 0.98).
inline constexpr std::array<float, 3> tukey_levels = {0.90f, 0.95f, 0.99f};

// Tukey's critical counts for n = 1..20 (index n - 1): the largest k with P(T+ <= k) <= (1 - P)/2
// under H0, i.e. the number of Walsh averages cut off at each end; -1 where no interval exists.
// These are the lower critical values of the signed-rank statistic as published, e.g., in
// Hollander & Wolfe, Nonparametric Statistical Methods (1999), Table A.4, and equal R's
// qsignrank((1 - P)/2, n) - 1.
inline constexpr std::array<std::int16_t, 20> tukey_k_90 = {-1, -1, -1, -1, 0,  2,  3,  5,  8,  10,
                                                            13, 17, 21, 25, 30, 35, 41, 47, 53, 60};
inline constexpr std::array<std::int16_t, 20> tukey_k_95 = {-1, -1, -1, -1, -1, 0,  2,  3,  5,  8,
                                                            10, 13, 17, 21, 25, 29, 34, 40, 46, 52};
inline constexpr std::array<std::int16_t, 20> tukey_k_99 = {-1, -1, -1, -1, -1, -1, -1, 0,  1,  3,
                                                            5,  7,  9,  12, 15, 19, 23, 27, 32, 37};

// k for level tukey_levels[level] and n pairs: the table for n <= 20, otherwise
// INT(n(n+1)/4 - z sqrt(n(n+1)(2n+1)/24) + 0.5) with z the normal quantile at 1 - (1 - P)/2.
std::int32_t tukey_cut(int level, int n);

struct TukeyInterval {
  float level = 0;
  float lower = 0, upper = 0;
};

struct WilcoxonPairs {
  int n = 0;        // pairs
  int nonzero = 0;  // n': pairs with x != y

  // Fewer than two non-zero differences: no test; the message names n and n - n'.
  bool too_small = false;

  float r_plus = 0, r_minus = 0;  // rank sums of the differences with x > y and x < y
  float r_hat = 0;                // min(R+, R-), R+ when they are equal
  float z = 0;                    // |R^ - n'(n'+1)/4| / sqrt(n'(n'+1)(2n'+1)/24)
  float p_approx = 1;             // 2 (1 - Phi(Z)), from the upper tail

  bool exact = false;          // n' <= 180
  std::int16_t t = 0;          // INT(R^ + 0.5), where FIDIS is asked
  float p_exact = -1;          // FIDIS's two-sided P2
  bool fidis_refused = false;  // FIDIS did not take n' (the entry says so)

  bool estimated = false;  // n <= 500: estimate and intervals
  float hodges_lehmann = 0;
  std::vector<TukeyInterval> intervals;  // the levels whose k is above -1
  DataUsed used;

  // The exact p of R^ where it exists, the approximate one of Z.
  std::vector<PValue> p_values() const;
};

// The differences d = x - y of rows 1..n as stored.
std::vector<float> pair_differences(const PairTable& table);

// The mid-ranks of the absolute values (any order; returned in the same order).
std::vector<float> mid_ranks(const std::vector<float>& magnitudes);

// The Walsh averages (d(i) + d(j)) / 2, i <= j, of all differences, in no particular order.
std::vector<float> walsh_averages(const std::vector<float>& differences);

// W(k) for each k of `ranks` (1-based, ascending): the k-th smallest of `values`, as a full sort
// would put it, found by successive selection.  `values` is reordered.
std::vector<float> order_statistics(std::vector<float>& values, const std::vector<std::int64_t>& ranks);

// The statistics for rows 1..n (n >= 1).  With a host, the wait cursor is shown while the Walsh
// averages are built and while FIDIS runs.
WilcoxonPairs wilcoxon_pairs(const PairTable& table, const BusySignal& busy = {});

// "Der Stichprobenumfang n = ... ist zu klein oder es ..." for too_small.
std::string too_few_pairs_message(const WilcoxonPairs& result);

// The result lines from the sample size to the literature block.
void write_wilcoxon_pairs(ReportFile& report, const WilcoxonPairs& result);

}  // namespace veltrum
