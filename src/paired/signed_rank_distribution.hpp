// Exact null distribution of Wilcoxon's signed-rank sum for n untied ranks.
//
// Under H0 each rank 1..n enters the sum with probability 1/2, independently, so
// P(W_k <= t) = (P(W_{k-1} <= t) + P(W_{k-1} <= t - k)) / 2.  The distribution function is
// built in place over t = 0..T, rank by rank, by halvings of single-precision values: no
// factorials and no counts that could overflow (cf. R's nmath/signrank.c, which counts the
// same recurrence).  O(n T) work; used up to n = 180.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/busy.hpp"

namespace veltrum {

inline constexpr int fidis_max_n = 180;

struct SignedRankTail {
  float p1 = -1;  // P(W <= T)
  float p2 = -1;  // two-sided: 2 P1, or 1 when P1 exceeds 0.5

  // False for an n outside 1..180: both results are -1, and the caller shows fidis_range_text.
  bool in_range() const { return p1 >= 0; }
};

// The " Achtung!" text for an n outside 1..180.
inline constexpr std::string_view fidis_range_text = "FIDIS: Nur für 0<n<=180!";

// FIDIS(n, T).  For n outside 1..180 both results are -1 (not in_range()).  `busy` is told while
// it counts.  A negative T raises IndexError.
SignedRankTail FIDIS(std::int16_t n, std::int16_t T, const BusySignal& busy = {});

}  // namespace veltrum
