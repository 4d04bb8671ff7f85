#include "paired/signed_rank_distribution.hpp"

#include <algorithm>

#include "frame/checked_array.hpp"
#include "frame/host.hpp"
#include "frame/messages.hpp"
#include "frame/numbers.hpp"
#include "paired/wait_cursor.hpp"

namespace veltrum {

SignedRankTail FIDIS(std::int16_t n, std::int16_t T, Host* host) {
  SignedRankTail result;
  if (n < 1 || n > fidis_max_n) {
    if (host) attention_box(*host, "FIDIS: Nur für 0<n<=180!");
    return result;
  }
  WaitCursor busy(host);
  // F(t) = P(W <= t) for the ranks taken so far; before the first rank W is 0.
  CheckedArray<float> F(0, T);
  for (int t = 0; t <= T; ++t) F[t] = 1;
  int cum = 0;
  for (int r = 1; r <= n; ++r) {
    cum += r;
    // Downwards, so that F(t - r) still holds the distribution without rank r.
    for (int t = std::min(cum, static_cast<int>(T)); t >= r; --t)
      F[t] = to_float((static_cast<real>(F[t]) + F[t - r]) / 2);
    for (int t = 0; t <= std::min(r - 1, static_cast<int>(T)); ++t) F[t] = to_float(static_cast<real>(F[t]) / 2);
  }
  result.p1 = F[T];
  result.p2 = result.p1 <= 0.5f ? to_float(2.0L * result.p1) : 1.0f;
  return result;
}

}  // namespace veltrum
