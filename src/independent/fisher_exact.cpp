#include "independent/fisher_exact.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "frame/numbers.hpp"

namespace veltrum {

namespace {

bool is_count(float x) { return x >= 0 && std::floor(x) == x; }

// Below this the probability of the first table is lost to underflow of the 80-bit format.
constexpr real underflow_bound = 1E-4900L;

}  // namespace

FisherExact fisher_exact(float a_in, float b_in, float c_in, float d_in) {
  FisherExact result;
  if (!is_count(a_in) || !is_count(b_in) || !is_count(c_in) || !is_count(d_in)) return result;
  real a = a_in, b = b_in, c = c_in, d = d_in;

  // The smallest cell to the top left, rows and columns kept intact.
  for (;;) {
    if (b < a) std::swap(a, b), std::swap(c, d);  // columns
    if (d < a) {                                  // rows and columns
      std::swap(a, d), std::swap(b, c);
      continue;
    }
    if (c < a) std::swap(a, c), std::swap(b, d);  // rows
    break;
  }
  // The top-left cell in the row with the smaller share in the first column, so that the
  // one-sided p is the lower tail of a.
  if (b != 0 && d != 0 && c / d < a / b) {
    if (b < c)
      std::swap(a, b), std::swap(c, d);
    else
      std::swap(a, c), std::swap(b, d);
  }

  const real r1 = a + b, c1 = a + c, n = a + b + c + d, x = d - a;
  if (r1 == 0 || r1 == n) {
    result.one_sided = result.two_sided = 1;
    return result;
  }
  // The distance of the table with top-left cell e from independence: N times the difference of
  // the two rows' shares in the first column, rounded.  The observed table is the case e = a.
  const auto distance = [&](real e) { return int_floor(n * std::fabs(e / r1 - (c1 - e) / (n - r1)) + 0.5L); };
  const real observed = distance(a);

  // P(0) = C(N - r1, c1) / C(N, c1), the probability of top-left cell 0 under the margins.
  real p = 1;
  for (real i = 1; i <= c1; ++i) p *= (x + i) / (n - c1 + i);
  if (!(p >= underflow_bound)) return result;

  real one_sided = p, two_sided = distance(0) >= observed ? p : 0;
  const real last = std::min(r1, c1);
  for (real e = 0; e < last; ++e) {
    p = p * (r1 - e) * (c1 - e) / ((x + e + 1) * (e + 1));
    if (e + 1 <= a) one_sided += p;
    if (distance(e + 1) >= observed) two_sided += p;
  }
  result.one_sided = to_float(one_sided);
  result.two_sided = to_float(two_sided);
  return result;
}

}  // namespace veltrum
