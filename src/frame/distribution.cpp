// The distribution functions, on Boost.Math.
//
// Every function takes single-precision arguments, computes in long double (the chi-square in
// double, see below) with Boost.Math's distributions (normal, chi-square, F, binomial) and rounds
// the result once into a float.  The
// long double computation is accurate far beyond single precision, so the float result is the
// correctly rounded value in nearly every case, near 1 as well as near 0: a lower tail such as
// 1 - 4.3e-8 comes back as the float nearest to it, and a tiny tail keeps its full relative
// precision down to the smallest float.  (Where Boost forms a lower tail as 1 - Q, it does so in
// long double, with an error near 2^-64, far below the float step 2^-24 just under 1; the final
// rounding is the only loss that shows.)
//
// Errors inside Boost are a policy: every error category is set to ignore_error, and a NaN that
// such an error might produce is caught before it leaves the function.  The policy does not reach
// everywhere, though: the root finders behind the quantiles (tools/roots.hpp) and some integer
// truncations raise their errors under Boost's default, throwing policy.  So each function also
// runs behind a catch-all that returns its documented fallback, and all of them are noexcept.
//
// Arguments outside the ranges whose results the callers report.  Every caller turns a
// distribution function F into a p-value as 1 - F, 2(1 - F) or F itself, so where no value is
// defined we return the one that reads as "no evidence" in the caller's usual use:
//
//   FNGauss     x NaN -> 0.5 (the centre; a two-sided p of 1).  x = -inf/+inf -> 0/1.
//   FNGaussIn   p NaN -> 0 (the median).  p <= 0 -> the quantile of the smallest positive float
//               (about -14.12); p >= 1 -> its negative (about +14.12).  Finite, and the function
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
// Upper tails: each ...Upper function takes Boost's complement path, cdf(complement(d, x)), which
// computes the upper tail directly (for the chi-square and F the other incomplete gamma or beta
// function; for the normal erfc), so a tail of 1e-30 comes back as 1e-30 and not as 0 from
// 1 - F.  Wherever the lower-tail function returns one of its fallbacks or bounds above, the upper
// one returns 1 minus it, so that the two always add up to 1 there.
//
// The chi-square in double: FNChi and FNChiUpper let Boost evaluate the incomplete gamma function
// in double precision.  Its 53 bits are 29 more than the float result keeps, so the stored value
// is the same (the tests compare it with the long double evaluation over a grid of df and x);
// the long double evaluation, built on powl, expl and logl, takes about fifteen times as long, and
// the Nemenyi column of K asks for one tail per pair of groups (4,950 with 100 groups).
//
// Extended precision: the long double arithmetic assumes the x87 unit runs with a 64-bit
// mantissa (the module's entry sets it).  Left at 53 bits, the results are still good to single
// precision.
#include "frame/distribution.hpp"

// The i686 mingw-w64 compiler with win32 threads has no thread_local as Boost.Config sees it, and
// Boost.Math 1.74 then prints a note about a deprecated C++03 mode with every inclusion.  Its
// thread_local only serves constants and factorials of multiprecision types built at run time;
// long double takes them from compiled-in tables, so the notes say nothing about this file.
#ifndef BOOST_MATH_DISABLE_DEPRECATED_03_WARNING
#define BOOST_MATH_DISABLE_DEPRECATED_03_WARNING
#endif

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/policies/policy.hpp>

#include <cmath>
#include <limits>

#include "frame/numbers.hpp"

namespace veltrum {

namespace {

namespace bmp = boost::math::policies;

// Every error is ignored (Boost then returns NaN, infinity or its best estimate, which the
// functions below screen); arithmetic stays in long double, the type we pass in.
using Policy = bmp::policy<bmp::domain_error<bmp::ignore_error>, bmp::pole_error<bmp::ignore_error>,
                           bmp::overflow_error<bmp::ignore_error>, bmp::underflow_error<bmp::ignore_error>,
                           bmp::denorm_error<bmp::ignore_error>, bmp::evaluation_error<bmp::ignore_error>,
                           bmp::rounding_error<bmp::ignore_error>, bmp::indeterminate_result_error<bmp::ignore_error>,
                           bmp::promote_float<false>, bmp::promote_double<false>>;

using Normal = boost::math::normal_distribution<long double, Policy>;
using ChiSquared = boost::math::chi_squared_distribution<double, Policy>;
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

// P(X <= k) for a binomial with both k + 1 and n - k at least kLargeCount.
//
// The incomplete beta function behind Boost's binomial loses digits in long double when both
// of its parameters are huge.  Against R's pbinom its relative error is about 1e-8 with 3e11
// counts on either side of k, 1.5e-7 with 5e12 and 3e-6 with 5e14; beyond that it drifts
// further (0.62 for 0.5 at 1e20 trials, 0 or 1 for 0.5 at 1e24 and 1e30), and a single call
// there runs for seconds to minutes.  There the binomial is as close to normal as a float can
// tell: with both counts at least 1e12, either n p q exceeds 2e11 or k lies more than 7e5
// standard deviations from the mean, where both sides below give exactly 0 or 1.  We take the
// Edgeworth expansion for a lattice distribution with continuity correction (Esseen 1945;
// Feller, Vol. II, XVI.4):
//
//   P(X <= k) = Phi(z) - phi(z) g (z^2 - 1) / 6,   z = (k + 1/2 - n p) / s,
//   s = sqrt(n p q),  g = (q - p) / s  (the skewness),
//
// whose error is of order 1/(n p q), below 1e-11 here.  n p is exact in long double (a product
// of two floats), so z carries no cancellation.
constexpr long double kLargeCount = 1e12L;

// The lower tail, or with `upper` the upper one, P(X > k) = Q(z) + phi(z) g (z^2 - 1) / 6.
long double binomial_cdf_large(long double n, long double k, long double p, bool upper = false) {
  const long double q = 1.0L - p;
  const long double mean = n * p;
  const long double sd = std::sqrt(mean * q);
  const long double z = (k + 0.5L - mean) / sd;
  const long double skewness = (q - p) / sd;
  const Normal standard;
  const long double correction = pdf(standard, z) * skewness * (z * z - 1.0L) / 6.0L;
  if (upper) return cdf(complement(standard, z)) + correction;
  return cdf(standard, z) - correction;
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
    const ChiSquared dist(df);
    return probability(cdf(dist, static_cast<double>(x)), fallback);
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
    if (p >= 1.0f) {
      // The upper quantile of F(df1, df2) is the reciprocal of the lower one of F(df2, df1).
      const FisherF swapped(static_cast<long double>(df2), static_cast<long double>(df1));
      const long double lower = quantile(swapped, kSmallestProbability);
      if (!(lower > 0.0L)) return kLargestFloat;
      return quantile_value(1.0L / lower, kLargestFloat);
    }
    const FisherF dist(static_cast<long double>(df1), static_cast<long double>(df2));
    const long double q = quantile(dist, static_cast<long double>(p));
    return quantile_value(q < 0.0L ? 0.0L : q, fallback);
  });
}

float FNBinomial(float n, float k, float p) noexcept {
  constexpr float fallback = 1.0f;
  return guarded(fallback, [&] {
    if (std::isnan(n) || std::isnan(k) || std::isnan(p)) return fallback;
    long double trials = round_even(static_cast<long double>(n));
    if (trials < 0.0L) trials = 0.0L;
    const long double successes = std::floor(static_cast<long double>(k));
    if (successes < 0.0L) return 0.0f;
    if (successes >= trials) return 1.0f;
    // From here 0 <= k < n, so k is finite.
    if (p <= 0.0f) return 1.0f;
    if (p >= 1.0f) return 0.0f;
    if (std::isinf(trials)) return 0.0f;
    const long double success_p = p;
    if (successes + 1.0L >= kLargeCount && trials - successes >= kLargeCount) {
      return probability(binomial_cdf_large(trials, successes, success_p), fallback);
    }
    const Binomial dist(trials, success_p);
    return probability(cdf(dist, successes), fallback);
  });
}

float FNGaussUpper(float x) noexcept {
  constexpr float fallback = 0.5f;
  return guarded(fallback, [&] {
    if (std::isnan(x)) return fallback;
    if (std::isinf(x)) return x < 0.0f ? 1.0f : 0.0f;
    return probability(cdf(complement(Normal(), static_cast<long double>(x))), fallback);
  });
}

float FNChiUpper(int df, float x) noexcept {
  constexpr float fallback = 1.0f;
  return guarded(fallback, [&] {
    if (df <= 0) return fallback;
    if (!(x > 0.0f)) return 1.0f;  // also NaN
    if (std::isinf(x)) return 0.0f;
    const ChiSquared dist(df);
    return probability(cdf(complement(dist, static_cast<double>(x))), fallback);
  });
}

float FNFisherUpper(int df1, int df2, float x) noexcept {
  constexpr float fallback = 1.0f;
  return guarded(fallback, [&] {
    if (df1 <= 0 || df2 <= 0) return fallback;
    if (!(x > 0.0f)) return 1.0f;  // also NaN
    if (std::isinf(x)) return 0.0f;
    const FisherF dist(static_cast<long double>(df1), static_cast<long double>(df2));
    return probability(cdf(complement(dist, static_cast<long double>(x))), fallback);
  });
}

float FNBinomialUpper(float n, float k, float p) noexcept {
  constexpr float fallback = 0.0f;
  return guarded(fallback, [&] {
    if (std::isnan(n) || std::isnan(k) || std::isnan(p)) return fallback;
    long double trials = round_even(static_cast<long double>(n));
    if (trials < 0.0L) trials = 0.0L;
    const long double successes = std::floor(static_cast<long double>(k));
    if (successes < 0.0L) return 1.0f;
    if (successes >= trials) return 0.0f;
    if (p <= 0.0f) return 0.0f;
    if (p >= 1.0f) return 1.0f;
    if (std::isinf(trials)) return 1.0f;
    const long double success_p = p;
    if (successes + 1.0L >= kLargeCount && trials - successes >= kLargeCount) {
      return probability(binomial_cdf_large(trials, successes, success_p, true), fallback);
    }
    const Binomial dist(trials, success_p);
    return probability(cdf(complement(dist, successes)), fallback);
  });
}

}  // namespace veltrum
