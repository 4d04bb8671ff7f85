// The distribution functions, on Boost.Math.
//
// Every function takes single-precision arguments, computes in long double with Boost.Math's
// distributions (normal, chi-square, F, binomial) and rounds the result once into a float.  The
// long double computation is accurate far beyond single precision, so the float result is the
// correctly rounded value in nearly every case, near 1 as well as near 0: a lower tail such as
// 1 - 4.3e-8 comes back as the float nearest to it, and a tiny tail keeps its full relative
// precision down to the smallest float.  (Boost forms the lower tail through the incomplete gamma
// and beta functions from whichever side is the smaller tail, so nothing is lost to cancellation
// before the final rounding.)
//
// Errors inside Boost are a policy: every error category is set to ignore_error, so nothing in
// here throws; a NaN that such an error might produce is caught before it leaves the function.
// The functions are noexcept, and a catch-all stands behind the policy for safety.
//
// Arguments outside the ranges whose results the callers report.  Every caller turns a
// distribution function F into a p-value as 1 - F, 2(1 - F) or F itself, so where no value is
// defined we return the one that reads as "no evidence" in the caller's usual use:
//
//   FNGauss     x NaN -> 0.5 (the centre; a two-sided p of 1).  x = -inf/+inf -> 0/1.
//   FNGaussIn   p NaN -> 0 (the median).  p <= 0 -> the quantile of the smallest positive float
//               (about -14.05); p >= 1 -> its negative (about +14.05).  Finite, and the function
//               stays non-decreasing over every float.
//   FNChi       df <= 0 -> 0 (no degrees of freedom, no evidence: 1 - F = 1), whatever x is.
//               x <= 0 or NaN -> 0.  x = +inf -> 1.
//   FNFisher    df1 <= 0 or df2 <= 0 -> 0, as for FNChi.  x <= 0 or NaN -> 0.  x = +inf -> 1.
//   FNFishIn    df1 <= 0 or df2 <= 0, or p NaN -> 1 (the neutral variance ratio; it keeps a
//               caller's F / (n + F) defined even for n = 0).  p <= 0 -> 0 (the lower end of the
//               support).  p >= 1 -> the upper quantile of the smallest positive float, at most
//               the largest float.  Any quantile too large for a float becomes the largest float.
//   FNBinomial  any argument NaN -> 1 (the lower tail, the usual p-value, reads 1).
//               n is rounded to the nearest whole number (halves to even); n < 0 counts as 0
//               trials.  k is taken down to a whole number, floor(k), since P(X <= k) is a step
//               function of k.  k < 0 -> 0; k >= n -> 1 (so n = 0, k = 0 gives 1).
//               p <= 0 -> 1 (X is 0); p >= 1 -> 0 for k < n (X is n).  n = +inf with a finite
//               k -> 0 (the limit as the number of trials grows).
//
// Extended precision: the long double arithmetic assumes the x87 unit runs with a 64-bit
// mantissa (the module's entry sets it).  Were it left at 53 bits the results would still be
// far better than single precision.
#include "frame/distribution.hpp"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/policies/policy.hpp>

#include <cmath>
#include <limits>

namespace veltrum {

namespace {

namespace bmp = boost::math::policies;

// Every error is ignored (Boost then returns NaN, infinity or its best estimate, which the
// functions below screen); arithmetic stays in long double, the type we pass in.
using Policy = bmp::policy<bmp::domain_error<bmp::ignore_error>, bmp::pole_error<bmp::ignore_error>,
                           bmp::overflow_error<bmp::ignore_error>, bmp::underflow_error<bmp::ignore_error>,
                           bmp::denorm_error<bmp::ignore_error>, bmp::evaluation_error<bmp::ignore_error>,
                           bmp::rounding_error<bmp::ignore_error>,
                           bmp::indeterminate_result_error<bmp::ignore_error>, bmp::promote_float<false>,
                           bmp::promote_double<false>>;

using Normal = boost::math::normal_distribution<long double, Policy>;
using ChiSquared = boost::math::chi_squared_distribution<long double, Policy>;
using FisherF = boost::math::fisher_f_distribution<long double, Policy>;
using Binomial = boost::math::binomial_distribution<long double, Policy>;

constexpr float kLargestFloat = std::numeric_limits<float>::max();
// The smallest positive float: the most extreme probability a caller can hand us.
constexpr long double kSmallestProbability = std::numeric_limits<float>::denorm_min();

// A probability into a float: NaN gives the fallback, anything else is held to [0, 1].
float probability(long double value, float fallback) {
  if (std::isnan(value)) return fallback;
  if (value <= 0.0L) return 0.0f;
  if (value >= 1.0L) return 1.0f;
  return static_cast<float>(value);
}

// A quantile into a float: NaN gives the fallback, anything else is held to the finite floats.
float quantile_value(long double value, float fallback) {
  if (std::isnan(value)) return fallback;
  if (value >= kLargestFloat) return kLargestFloat;
  if (value <= -kLargestFloat) return -kLargestFloat;
  return static_cast<float>(value);
}

// Runs a computation; should anything escape the error policy, the fallback is returned.
template <class Compute>
float guarded(float fallback, Compute compute) noexcept {
  try {
    return compute();
  } catch (...) {
    return fallback;
  }
}

}  // namespace

float FNGauss(float x) noexcept {
  constexpr float fallback = 0.5f;
  return guarded(fallback, [&] {
    if (std::isnan(x)) return fallback;
    if (std::isinf(x)) return x < 0.0f ? 0.0f : 1.0f;
    return probability(cdf(Normal(), static_cast<long double>(x)), fallback);
  });
}

float FNGaussIn(float p) noexcept {
  constexpr float fallback = 0.0f;
  return guarded(fallback, [&] {
    if (std::isnan(p)) return fallback;
    if (p <= 0.0f) return quantile_value(quantile(Normal(), kSmallestProbability), fallback);
    if (p >= 1.0f) return quantile_value(-quantile(Normal(), kSmallestProbability), fallback);
    return quantile_value(quantile(Normal(), static_cast<long double>(p)), fallback);
  });
}

float FNChi(int df, float x) noexcept {
  constexpr float fallback = 0.0f;
  return guarded(fallback, [&] {
    if (df <= 0) return fallback;
    if (!(x > 0.0f)) return 0.0f;  // also NaN
    if (std::isinf(x)) return 1.0f;
    const ChiSquared dist(static_cast<long double>(df));
    return probability(cdf(dist, static_cast<long double>(x)), fallback);
  });
}

float FNFisher(int df1, int df2, float x) noexcept {
  constexpr float fallback = 0.0f;
  return guarded(fallback, [&] {
    if (df1 <= 0 || df2 <= 0) return fallback;
    if (!(x > 0.0f)) return 0.0f;  // also NaN
    if (std::isinf(x)) return 1.0f;
    const FisherF dist(static_cast<long double>(df1), static_cast<long double>(df2));
    return probability(cdf(dist, static_cast<long double>(x)), fallback);
  });
}

float FNFishIn(int df1, int df2, float p) noexcept {
  constexpr float fallback = 1.0f;
  return guarded(fallback, [&] {
    if (df1 <= 0 || df2 <= 0 || std::isnan(p)) return fallback;
    if (p <= 0.0f) return 0.0f;
    const FisherF dist(static_cast<long double>(df1), static_cast<long double>(df2));
    if (p >= 1.0f) {
      return quantile_value(quantile(complement(dist, kSmallestProbability)), kLargestFloat);
    }
    const long double q = quantile(dist, static_cast<long double>(p));
    return quantile_value(q < 0.0L ? 0.0L : q, fallback);
  });
}

float FNBinomial(float n, float k, float p) noexcept {
  constexpr float fallback = 1.0f;
  return guarded(fallback, [&] {
    if (std::isnan(n) || std::isnan(k) || std::isnan(p)) return fallback;
    long double trials = std::nearbyint(static_cast<long double>(n));
    if (trials < 0.0L) trials = 0.0L;
    const long double successes = std::floor(static_cast<long double>(k));
    if (successes < 0.0L) return 0.0f;
    if (successes >= trials) return 1.0f;
    // From here 0 <= k < n, so k is finite.
    if (p <= 0.0f) return 1.0f;
    if (p >= 1.0f) return 0.0f;
    if (std::isinf(trials)) return 0.0f;
    const Binomial dist(trials, static_cast<long double>(p));
    return probability(cdf(dist, successes), fallback);
  });
}

}  // namespace veltrum
