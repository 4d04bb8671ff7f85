// The upper tails beside the distribution functions, against R's lower.tail = FALSE.
//
// As in distribution_test.cpp, each reference is R's value at the exact float argument (the call
// stands beside it), and the tolerance is 2^-22 relative, with one denormal step as the floor:
// the upper tails keep their relative precision down to the smallest float, where 1 - F would
// give 0 below about 6e-8.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include <boost/math/special_functions/gamma.hpp>

#include "frame/distribution.hpp"

namespace veltrum {
namespace {

double Tol(double expected) {
  return std::max(2.0 * FLT_EPSILON * std::fabs(expected), double{std::numeric_limits<float>::denorm_min()});
}

static_assert(noexcept(FNGaussUpper(0.0f)));
static_assert(noexcept(FNChiUpper(1, 1.0f)));
static_assert(noexcept(FNFisherUpper(1, 1, 1.0f)));
static_assert(noexcept(FNBinomialUpper(1.0f, 0.0f, 0.5f)));

TEST(UpperTail, GaussMatchesR) {
  const struct {
    float x;
    double expected;
  } cases[] = {
      {-3.0f, 0.9986501019683699},      // R: pnorm(-3, lower.tail = FALSE)
      {0.0f, 0.5},                      // R: pnorm(0, lower.tail = FALSE)
      {1.96f, 0.024997892918875407},    // R: pnorm(1.9600000381469727, lower.tail = FALSE)
      {3.0f, 0.0013498980316300946},    // R: pnorm(3, lower.tail = FALSE)
      {5.0f, 2.8665157187919391e-07},   // R: pnorm(5, lower.tail = FALSE)
      {8.0f, 6.2209605742717849e-16},   // R: pnorm(8, lower.tail = FALSE)
      {10.0f, 7.6198530241605269e-24},  // R: pnorm(10, lower.tail = FALSE)
      {20.0f, 2.7536241186062337e-89},  // R: pnorm(20, lower.tail = FALSE): below the floats, 0
  };
  for (const auto& c : cases) EXPECT_NEAR(FNGaussUpper(c.x), c.expected, Tol(c.expected)) << c.x;
}

TEST(UpperTail, ChiSquareMatchesR) {
  const struct {
    int df;
    float x;
    double expected;
  } cases[] = {
      {1, 3.841459f, 0.049999993583470119},     // R: pchisq(3.8414590358734131, 1, lower.tail = FALSE)
      {1, 30.0f, 4.3204630578274968e-08},       // R: pchisq(30, 1, lower.tail = FALSE)
      {1, 100.0f, 1.5239706048321054e-23},      // R: pchisq(100, 1, lower.tail = FALSE)
      {2, 20.0f, 4.5399929762484854e-05},       // R: pchisq(20, 2, lower.tail = FALSE)
      {4, 29.2666f, 6.9006387097179792e-06},    // R: pchisq(29.266599655151367, 4, lower.tail = FALSE)
      {5, 25.0f, 0.00013933379118562616},       // R: pchisq(25, 5, lower.tail = FALSE)
      {30, 80.0f, 1.9756232434910639e-06},      // R: pchisq(80, 30, lower.tail = FALSE)
      {100, 180.0f, 1.6494985017178244e-06},    // R: pchisq(180, 100, lower.tail = FALSE)
      {1000, 1200.0f, 1.2255942330622908e-05},  // R: pchisq(1200, 1000, lower.tail = FALSE)
      {1, 0.001f, 0.97477287877104801},         // R: pchisq(0.0010000000474974513, 1, lower.tail = FALSE)
  };
  for (const auto& c : cases) EXPECT_NEAR(FNChiUpper(c.df, c.x), c.expected, Tol(c.expected)) << c.df << " " << c.x;
}

TEST(UpperTail, FisherMatchesR) {
  const struct {
    int df1, df2;
    float x;
    double expected;
  } cases[] = {
      {2, 20, 3.4928f, 0.050001055365692514},     // R: pf(3.4927999973297119, 2, 20, lower.tail = FALSE)
      {5, 10, 3.3258f, 0.050001403836097379},     // R: pf(3.3257999420166016, 5, 10, lower.tail = FALSE)
      {3, 60, 40.0f, 2.5012857131304111e-14},     // R: pf(40, 3, 60, lower.tail = FALSE)
      {1, 32000, 30.0f, 4.3529414973380741e-08},  // R: pf(30, 1, 32000, lower.tail = FALSE)
      {9, 90, 200.0f, 1.66749863231182e-55},      // R: pf(200, 9, 90, lower.tail = FALSE): below the floats
      {2, 4, 0.5f, 0.64000000000000024},          // R: pf(0.5, 2, 4, lower.tail = FALSE)
  };
  for (const auto& c : cases)
    EXPECT_NEAR(FNFisherUpper(c.df1, c.df2, c.x), c.expected, Tol(c.expected)) << c.df1 << " " << c.df2 << " " << c.x;
}

TEST(UpperTail, BinomialMatchesR) {
  const struct {
    float n, k, p;
    double expected;
  } cases[] = {
      {10, 0, 0.5f, 0.9990234375},                // R: pbinom(0, 10, 0.5, lower.tail = FALSE)
      {10, 8, 0.5f, 0.010742187500000007},        // R: pbinom(8, 10, 0.5, lower.tail = FALSE)
      {25, 6, 0.4f, 0.92643475051306556},         // R: pbinom(6, 25, 0.40000000596046448, lower.tail = FALSE)
      {100, 90, 0.5f, 1.6610244897268272e-18},    // R: pbinom(90, 100, 0.5, lower.tail = FALSE)
      {40000, 20100, 0.5f, 0.15744841989311645},  // R: pbinom(20100, 40000, 0.5, lower.tail = FALSE)
      {12, 11, 0.25f, 5.9604644775390691e-08},    // R: pbinom(11, 12, 0.25, lower.tail = FALSE)
      {200, 199, 0.5f, 6.2230152778611901e-61},   // R: pbinom(199, 200, 0.5, lower.tail = FALSE): below the floats
  };
  for (const auto& c : cases)
    EXPECT_NEAR(FNBinomialUpper(c.n, c.k, c.p), c.expected, Tol(c.expected)) << c.n << " " << c.k << " " << c.p;
}

// Where the lower tails give a bound or a fallback, the upper ones give 1 minus it; inside the
// range the two add up to 1 within the float rounding of each.
TEST(UpperTail, ComplementsTheLowerTailEverywhere) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (const float x : {-inf, -2.0f, 0.0f, 0.7f, 3.0f, inf, nan})
    EXPECT_NEAR(FNGauss(x) + FNGaussUpper(x), 1.0, 2 * FLT_EPSILON) << x;
  for (const int df : {-1, 0, 1, 7})
    for (const float x : {-1.0f, 0.0f, 0.5f, 9.0f, inf, nan})
      EXPECT_NEAR(FNChi(df, x) + FNChiUpper(df, x), 1.0, 2 * FLT_EPSILON) << df << " " << x;
  for (const int df1 : {0, 3})
    for (const float x : {-1.0f, 0.0f, 1.5f, inf, nan})
      EXPECT_NEAR(FNFisher(df1, 12, x) + FNFisherUpper(df1, 12, x), 1.0, 2 * FLT_EPSILON) << df1 << " " << x;
  for (const float n : {-3.0f, 0.0f, 10.0f, inf})
    for (const float k : {-1.0f, 0.0f, 4.0f, 10.0f})
      for (const float p : {0.0f, 0.3f, 1.0f})
        EXPECT_NEAR(FNBinomial(n, k, p) + FNBinomialUpper(n, k, p), 1.0, 2 * FLT_EPSILON) << n << " " << k << " " << p;
  // The counts beyond 1e12 on both sides take the Edgeworth expansion in both directions.
  EXPECT_NEAR(FNBinomial(4e12f, 2e12f, 0.5f) + FNBinomialUpper(4e12f, 2e12f, 0.5f), 1.0, 2 * FLT_EPSILON);
}

// The chi-square tails are evaluated in double; stored as floats they are the values of the
// extended (long double) evaluation, from the centre of each distribution far into both tails.
TEST(UpperTail, ChiSquareInDoubleStoresTheExtendedResult) {
  using namespace boost::math::policies;
  using Extended = policy<domain_error<ignore_error>, overflow_error<ignore_error>, underflow_error<ignore_error>,
                          evaluation_error<ignore_error>, promote_double<false>>;
  int compared = 0;
  for (const int df : {1, 2, 3, 5, 9, 30, 99, 100, 249, 999}) {
    for (int step = 0; step <= 400; ++step) {
      const float x = static_cast<float>(df * std::pow(2.0L, -12.0L + 0.05L * step));  // df/4096 to 1048 df
      const long double a = df / 2.0L, half = static_cast<long double>(x) / 2.0L;
      const auto upper = static_cast<float>(boost::math::gamma_q(a, half, Extended()));
      const auto lower = static_cast<float>(boost::math::gamma_p(a, half, Extended()));
      EXPECT_EQ(FNChiUpper(df, x), upper) << df << " " << x;
      EXPECT_EQ(FNChi(df, x), lower) << df << " " << x;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 10 * 401);
}

}  // namespace
}  // namespace veltrum
