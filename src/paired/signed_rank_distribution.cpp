#include "paired/signed_rank_distribution.hpp"

#include <algorithm>

#include <string>
#include <vector>

#include "frame/errors.hpp"
#include "frame/numbers.hpp"

namespace veltrum {

SignedRankTail FIDIS(std::int16_t n, std::int16_t T, const BusySignal& busy_signal) {
  SignedRankTail result;
  if (n < 1 || n > fidis_max_n) return result;
  BusyScope busy(busy_signal);
  if (T < 0) throw IndexError("FIDIS: rank sum " + std::to_string(T) + " below 0");
  // F(t) = P(W <= t) for the ranks taken so far; before the first rank W is 0.
  std::vector<float> F(static_cast<std::size_t>(T) + 1, 1.0f);
  float* const f = F.data();
  int cum = 0;
  for (int r = 1; r <= n; ++r) {
    cum += r;
    // Downwards, so that F(t - r) still holds the distribution without rank r.  The mean of two
    // floats is formed in double, where the sum is exact (or rounded innocuously: 53 >= 2 * 24 + 2
    // bits) and the halving is exact, then rounded once to float, as in extended precision.
    for (int t = std::min(cum, static_cast<int>(T)); t >= r; --t)
      f[t] = static_cast<float>((static_cast<double>(f[t]) + f[t - r]) * 0.5);
    for (int t = 0; t <= std::min(r - 1, static_cast<int>(T)); ++t) f[t] = static_cast<float>(f[t] * 0.5);
  }
  result.p1 = F.back();
  result.p2 = result.p1 <= 0.5f ? to_float(2.0L * result.p1) : 1.0f;
  return result;
}

}  // namespace veltrum
