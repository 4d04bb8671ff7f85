// The six distribution functions against R (r-base-core), against closed forms and against
// identities between them.
//
// Reference values were computed with Rscript at the exact value of the float argument the test
// passes (for example 1.96f is 1.9600000381469727, so the reference is
// pnorm(1.9600000381469727)); the R call stands next to each value.  The only difference left
// between a correct result and the reference is then the rounding of the result to a float.
//
// Tolerance: a correctly rounded float lies within half a unit in the last place, at most 2^-24
// relative, of the true value.  We allow 2 * FLT_EPSILON = 2^-22 relative, four times that bound:
// room for the rounding and for the long double error of the computation (some 1e-18), and still
// a failure for anything that loses more than two bits.  Near 1 this is an absolute 2.4e-7, four
// steps of the float grid below 1; near 0 floats keep their relative precision, so the relative
// tolerance stays meaningful for a tail of 1e-26 as well.  Below the smallest normal float only
// an absolute tolerance of one denormal step makes sense.
#include "frame/distribution.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace veltrum {
namespace {

constexpr double kRelTol = 2.0 * FLT_EPSILON;
constexpr double kAbsFloor = std::numeric_limits<float>::denorm_min();

double Tol(double expected) { return std::max(kRelTol * std::fabs(expected), kAbsFloor); }

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The functions promise never to throw.
static_assert(noexcept(FNGauss(0.0f)));
static_assert(noexcept(FNGaussIn(0.5f)));
static_assert(noexcept(FNChi(1, 1.0f)));
static_assert(noexcept(FNFisher(1, 1, 1.0f)));
static_assert(noexcept(FNFishIn(1, 1, 0.5f)));
static_assert(noexcept(FNBinomial(1.0f, 0.0f, 0.5f)));

// The confidence-level probabilities the callers pass to the quantile functions.
constexpr float kLevels[] = {0.95f, 0.975f, 0.99f, 0.995f};

// ---------------------------------------------------------------------------------------------
// Normal distribution

TEST(DistributionGauss, MatchesRFromMinusEightToEight) {
  const struct {
    float x;
    double expected;
  } cases[] = {
      {-8.0f, 6.2209605742717849e-16},   // R: pnorm(-8)
      {-6.0f, 9.8658764503769809e-10},   // R: pnorm(-6)
      {-5.0f, 2.8665157187919391e-07},   // R: pnorm(-5)
      {-3.5f, 0.00023262907903552494},   // R: pnorm(-3.5)
      {-1.96f, 0.024997892918875407},    // R: pnorm(-1.9600000381469727)
      {-1.0f, 0.15865525393145705},      // R: pnorm(-1)
      {-0.5f, 0.30853753872598694},      // R: pnorm(-0.5)
      {0.0f, 0.5},                       // R: pnorm(0)
      {0.5f, 0.69146246127401301},       // R: pnorm(0.5)
      {1.0f, 0.84134474606854293},       // R: pnorm(1)
      {1.644854f, 0.9500000332710683},   // R: pnorm(1.644853949546814)
      {1.96f, 0.97500210708112456},      // R: pnorm(1.9600000381469727)
      {2.575829f, 0.99499999603129585},  // R: pnorm(2.575829029083252)
      {3.0f, 0.9986501019683699},        // R: pnorm(3)
      {4.0f, 0.99996832875816688},       // R: pnorm(4)
      {5.0f, 0.99999971334842808},       // R: pnorm(5)
      {6.0f, 0.9999999990134123},        // R: pnorm(6)
      {8.0f, 0.99999999999999933},       // R: pnorm(8)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNGauss(" << c.x << ")");
    EXPECT_NEAR(FNGauss(c.x), c.expected, Tol(c.expected));
  }
}

TEST(DistributionGauss, LowerTailsOfXAndMinusXAddUpToOne) {
  for (float x : {0.25f, 1.0f, 1.96f, 3.0f, 5.0f}) {
    SCOPED_TRACE(testing::Message() << "x = " << x);
    // Each of the two results carries at most half a float step of 2^-24.
    EXPECT_NEAR(static_cast<double>(FNGauss(-x)) + FNGauss(x), 1.0, 0x1p-24);
  }
}

TEST(DistributionGaussIn, MatchesRAtConfidenceLevels) {
  const struct {
    float p;
    double expected;
  } cases[] = {
      {0.5f, 0.0},                    // R: qnorm(0.5)
      {0.95f, 1.6448535113665228},    // R: qnorm(0.94999998807907104)
      {0.975f, 1.9599643924763865},   // R: qnorm(0.97500002384185791)
      {0.99f, 2.3263482318637538},    // R: qnorm(0.99000000953674316)
      {0.995f, 2.5758296333178041},   // R: qnorm(0.99500000476837158)
      {0.999f, 3.0902361298491048},   // R: qnorm(0.99900001287460327)
      {0.05f, -1.6448536197274131},   // R: qnorm(0.05000000074505806)
      {0.001f, -3.0902322920614345},  // R: qnorm(0.0010000000474974513)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNGaussIn(" << c.p << ")");
    EXPECT_NEAR(FNGaussIn(c.p), c.expected, Tol(c.expected));
  }
}

// A float quantile z is as good as a float can be when p lies between the distribution function
// at the floats just below and just above z; the slack is the rounding of those probabilities.
void ExpectBracketsP(float below, float above, float p) {
  const float slack = p * FLT_EPSILON;
  EXPECT_LE(below, p + slack);
  EXPECT_GE(above, p - slack);
}

TEST(DistributionGaussIn, InvertsFNGauss) {
  for (float p : {0.5f, 0.9f, 0.95f, 0.975f, 0.99f, 0.995f, 0.999f, 0.01f}) {
    SCOPED_TRACE(testing::Message() << "p = " << p);
    const float z = FNGaussIn(p);
    ExpectBracketsP(FNGauss(std::nextafter(z, -kInf)), FNGauss(std::nextafter(z, kInf)), p);
  }
}

// ---------------------------------------------------------------------------------------------
// Chi-square distribution

TEST(DistributionChi, MatchesRForSmallAndLargeX) {
  const struct {
    int df;
    float x;
    double expected;
  } cases[] = {
      {1, 0.001f, 0.025227121228951894},       // R: pchisq(0.0010000000474974513, 1)
      {1, 0.5f, 0.52049987781304652},          // R: pchisq(0.5, 1)
      {1, 3.841459f, 0.95000000641652993},     // R: pchisq(3.8414590358734131, 1)
      {1, 5.142857f, 0.97665779707126277},     // R: pchisq(5.1428570747375488, 1)
      {1, 10.83f, 0.9990013135796687},         // R: pchisq(10.829999923706055, 1)
      {1, 30.0f, 0.99999995679536946},         // R: pchisq(30, 1)
      {2, 0.1f, 0.048770576208007142},         // R: pchisq(0.10000000149011612, 2)
      {2, 5.991465f, 0.95000001361493169},     // R: pchisq(5.9914650917053223, 2)
      {2, 20.0f, 0.99995460007023751},         // R: pchisq(20, 2)
      {5, 0.5f, 0.0078767067673704057},        // R: pchisq(0.5, 5)
      {5, 11.0705f, 0.95000005179628111},      // R: pchisq(11.070500373840332, 5)
      {5, 25.0f, 0.99986066620881442},         // R: pchisq(25, 5)
      {30, 1.0f, 1.4610500924439225e-17},      // R: pchisq(1, 30)
      {30, 10.0f, 0.00022625367617675558},     // R: pchisq(10, 30)
      {30, 43.77f, 0.94996917388474378},       // R: pchisq(43.770000457763672, 30)
      {30, 80.0f, 0.99999802437675656},        // R: pchisq(80, 30)
      {100, 20.0f, 1.8547268838697997e-19},    // R: pchisq(20, 100)
      {100, 50.0f, 6.9533052476160996e-06},    // R: pchisq(50, 100)
      {100, 124.342f, 0.94999930233615459},    // R: pchisq(124.34200286865234, 100)
      {100, 180.0f, 0.99999835050149832},      // R: pchisq(180, 100)
      {1000, 600.0f, 3.807423416288177e-26},   // R: pchisq(600, 1000)
      {1000, 800.0f, 8.1093810787991603e-07},  // R: pchisq(800, 1000)
      {1000, 1074.679f, 0.94999891465289921},  // R: pchisq(1074.678955078125, 1000)
      {1000, 1200.0f, 0.99998774405766933},    // R: pchisq(1200, 1000)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNChi(" << c.df << ", " << c.x << ")");
    EXPECT_NEAR(FNChi(c.df, c.x), c.expected, Tol(c.expected));
  }
}

TEST(DistributionChi, AgreesWithClosedFormsForOneAndTwoDegrees) {
  for (float x : {0.01f, 0.5f, 2.0f, 3.841459f, 9.0f, 25.0f}) {
    SCOPED_TRACE(testing::Message() << "x = " << x);
    const long double lx = x;
    // One degree of freedom: P(Z^2 <= x) = erf(sqrt(x / 2)).
    const double one = static_cast<double>(std::erf(std::sqrt(lx / 2.0L)));
    EXPECT_NEAR(FNChi(1, x), one, Tol(one));
    // Two degrees of freedom: the exponential distribution with mean 2.
    const double two = static_cast<double>(-std::expm1(-lx / 2.0L));
    EXPECT_NEAR(FNChi(2, x), two, Tol(two));
  }
}

// ---------------------------------------------------------------------------------------------
// F distribution

TEST(DistributionFisher, MatchesRUpTo32000DegreesOfFreedom) {
  const struct {
    int df1;
    int df2;
    float x;
    double expected;
  } cases[] = {
      {1, 32000, 0.01f, 0.079655047228531756},       // R: pf(0.0099999997764825821, 1, 32000)
      {1, 32000, 3.8416f, 0.94999554257541763},      // R: pf(3.8415999412536621, 1, 32000)
      {1, 32000, 6.635f, 0.98999613819197529},       // R: pf(6.6350002288818359, 1, 32000)
      {32000, 32000, 0.98f, 0.035384737318679069},   // R: pf(0.98000001907348633, 32000, 32000)
      {32000, 32000, 1.0185f, 0.94944996412479565},  // R: pf(1.0184999704360962, 32000, 32000)
      {32000, 32000, 1.022f, 0.97419476462980215},   // R: pf(1.0219999551773071, 32000, 32000)
      {32000, 32000, 1.0263f, 0.98988049723337079},  // R: pf(1.0262999534606934, 32000, 32000)
      {5, 10, 0.2f, 0.044808231105830869},           // R: pf(0.20000000298023224, 5, 10)
      {5, 10, 3.3258f, 0.94999859616390259},         // R: pf(3.3257999420166016, 5, 10)
      {5, 10, 4.2361f, 0.97500025957596848},         // R: pf(4.2361001968383789, 5, 10)
      {3, 100, 2.6955f, 0.94999785249299884},        // R: pf(2.6954998970031738, 3, 100)
      {3, 100, 3.9837f, 0.99000005878147901},        // R: pf(3.9837000370025635, 3, 100)
      {2, 2, 1.0f, 0.5},                             // R: pf(1, 2, 2)
      {1, 1, 1.0f, 0.49999999999999956},             // R: pf(1, 1, 1)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNFisher(" << c.df1 << ", " << c.df2 << ", " << c.x << ")");
    EXPECT_NEAR(FNFisher(c.df1, c.df2, c.x), c.expected, Tol(c.expected));
  }
}

TEST(DistributionFisher, SwappingDegreesOfFreedomTakesTheReciprocal) {
  // P(F(d1, d2) <= x) = 1 - P(F(d2, d1) <= 1 / x); x is a power of two, so 1 / x is exact.
  const int dfs[][2] = {{1, 32000}, {5, 10}, {3, 100}, {32000, 32000}};
  for (const auto& df : dfs) {
    for (float x : {0.5f, 1.0f, 2.0f, 4.0f}) {
      SCOPED_TRACE(testing::Message() << "(" << df[0] << ", " << df[1] << "), x = " << x);
      const double sum = static_cast<double>(FNFisher(df[0], df[1], x)) + FNFisher(df[1], df[0], 1.0f / x);
      EXPECT_NEAR(sum, 1.0, 0x1p-24);
    }
  }
}

TEST(DistributionFishIn, MatchesRAtConfidenceLevels) {
  const struct {
    int df1;
    int df2;
    float p;
    double expected;
  } cases[] = {
      {1, 32000, 0.95f, 3.8417490350539651},       // R: qf(0.94999998807907104, 1, 32000)
      {1, 32000, 0.975f, 5.0243607359803377},      // R: qf(0.97500002384185791, 1, 32000)
      {1, 32000, 0.99f, 6.6356898800279396},       // R: qf(0.99000000953674316, 1, 32000)
      {1, 32000, 0.995f, 7.8805336131040349},      // R: qf(0.99500000476837158, 1, 32000)
      {32000, 32000, 0.95f, 1.0185604374266273},   // R: qf(0.94999998807907104, 32000, 32000)
      {32000, 32000, 0.975f, 1.0221553217775403},  // R: qf(0.97500002384185791, 32000, 32000)
      {32000, 32000, 0.99f, 1.026351143884678},    // R: qf(0.99000000953674316, 32000, 32000)
      {32000, 32000, 0.995f, 1.0292180852222743},  // R: qf(0.99500000476837158, 32000, 32000)
      {5, 10, 0.95f, 3.325834236694547},           // R: qf(0.94999998807907104, 5, 10)
      {5, 10, 0.975f, 4.236087002626741},          // R: qf(0.97500002384185791, 5, 10)
      {5, 10, 0.99f, 5.6363277765975228},          // R: qf(0.99000000953674316, 5, 10)
      {5, 10, 0.995f, 6.8723685749204009},         // R: qf(0.99500000476837158, 5, 10)
      {3, 100, 0.95f, 2.6955340641615866},         // R: qf(0.94999998807907104, 3, 100)
      {3, 100, 0.975f, 3.249619609940813},         // R: qf(0.97500002384185791, 3, 100)
      {3, 100, 0.99f, 3.9836960801611441},         // R: qf(0.99000000953674316, 3, 100)
      {3, 100, 0.995f, 4.5423826611469487},        // R: qf(0.99500000476837158, 3, 100)
      {2, 40, 0.95f, 3.2317267158871132},          // R: qf(0.94999998807907104, 2, 40)
      {2, 40, 0.975f, 4.0509932227779455},         // R: qf(0.97500002384185791, 2, 40)
      {2, 40, 0.99f, 5.178509436488774},           // R: qf(0.99000000953674316, 2, 40)
      {2, 40, 0.995f, 6.066427654205957},          // R: qf(0.99500000476837158, 2, 40)
      {8, 6, 0.95f, 4.1468037163908136},           // R: qf(0.94999998807907104, 8, 6)
      {8, 6, 0.975f, 5.5996252374046733},          // R: qf(0.97500002384185791, 8, 6)
      {8, 6, 0.99f, 8.1016543833181842},           // R: qf(0.99000000953674316, 8, 6)
      {8, 6, 0.995f, 10.565767299827016},          // R: qf(0.99500000476837158, 8, 6)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNFishIn(" << c.df1 << ", " << c.df2 << ", " << c.p << ")");
    EXPECT_NEAR(FNFishIn(c.df1, c.df2, c.p), c.expected, Tol(c.expected));
  }
}

TEST(DistributionFishIn, InvertsFNFisher) {
  const int dfs[][2] = {{1, 32000}, {32000, 32000}, {5, 10}, {3, 100}, {2, 31998}, {32000, 1}};
  for (const auto& df : dfs) {
    for (float p : kLevels) {
      SCOPED_TRACE(testing::Message() << "(" << df[0] << ", " << df[1] << "), p = " << p);
      const float q = FNFishIn(df[0], df[1], p);
      ExpectBracketsP(FNFisher(df[0], df[1], std::nextafter(q, 0.0f)), FNFisher(df[0], df[1], std::nextafter(q, kInf)),
                      p);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Binomial distribution

TEST(DistributionBinomial, MatchesRForHalfAndOtherP) {
  const struct {
    float n;
    float k;
    float p;
    double expected;
  } cases[] = {
      {7, 0, 0.5f, 0.0078125000000000035},          // R: pbinom(0, 7, 0.5)
      {7, 3, 0.5f, 0.5},                            // R: pbinom(3, 7, 0.5)
      {20, 5, 0.5f, 0.020694732666015642},          // R: pbinom(5, 20, 0.5)
      {20, 10, 0.5f, 0.58809852600097634},          // R: pbinom(10, 20, 0.5)
      {20, 14, 0.5f, 0.97930526733398438},          // R: pbinom(14, 20, 0.5)
      {100, 10, 0.5f, 1.5316450877189941e-17},      // R: pbinom(10, 100, 0.5)
      {100, 30, 0.5f, 3.9250698227968443e-05},      // R: pbinom(30, 100, 0.5)
      {100, 70, 0.5f, 0.99998391999235214},         // R: pbinom(70, 100, 0.5)
      {1000, 400, 0.5f, 1.3642320780330136e-10},    // R: pbinom(400, 1000, 0.5)
      {1000, 480, 0.5f, 0.10872414660207072},       // R: pbinom(480, 1000, 0.5)
      {1000, 550, 0.5f, 0.99930412920278888},       // R: pbinom(550, 1000, 0.5)
      {16000, 7700, 0.5f, 1.0896756805384224e-06},  // R: pbinom(7700, 16000, 0.5)
      {16000, 7900, 0.5f, 0.057831023835382377},    // R: pbinom(7900, 16000, 0.5)
      {16000, 8100, 0.5f, 0.94397625421617215},     // R: pbinom(8100, 16000, 0.5)
      {10, 2, 0.1f, 0.92980917103421556},           // R: pbinom(2, 10, 0.10000000149011612)
      {12, 0, 0.01f, 0.88638487411761369},          // R: pbinom(0, 12, 0.0099999997764825821)
      {40, 3, 0.2f, 0.028462091631361121},          // R: pbinom(3, 40, 0.20000000298023224)
      {50, 10, 0.3f, 0.078850598515960282},         // R: pbinom(10, 50, 0.30000001192092896)
      {25, 20, 0.9f, 0.09799369819714368},          // R: pbinom(20, 25, 0.89999997615814209)
      {100, 60, 0.7f, 0.02098858949868819},         // R: pbinom(60, 100, 0.69999998807907104)
      {1000, 100, 0.1f, 0.52659901868526782},       // R: pbinom(100, 1000, 0.10000000149011612)
      {16000, 4000, 0.25f, 0.50424866422150871},    // R: pbinom(4000, 16000, 0.25)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "FNBinomial(" << c.n << ", " << c.k << ", " << c.p << ")");
    EXPECT_NEAR(FNBinomial(c.n, c.k, c.p), c.expected, Tol(c.expected));
  }
}

TEST(DistributionBinomial, MatchesRForCountsBeyondATrillion) {
  // Both k + 1 and n - k beyond 1e12: the normal-expansion branch.  Counts are powers of two
  // (or sums of two) so that the float arguments are exactly the numbers R is given.
  const float two47 = std::ldexp(1.0f, 47);
  const float two43 = std::ldexp(1.0f, 43);
  const float two100 = std::ldexp(1.0f, 100);
  // R: pbinom(2^46 - 2^23, 2^47, 0.5)
  EXPECT_NEAR(FNBinomial(two47, std::ldexp(1.0f, 46) - std::ldexp(1.0f, 23), 0.5f), 0.078649615896310671,
              Tol(0.078649615896310671));
  // R: pbinom(2^41 + 2^20, 2^43, 0.25)
  EXPECT_NEAR(FNBinomial(two43, std::ldexp(1.0f, 41) + std::ldexp(1.0f, 20), 0.25f), 0.79289202835515071,
              Tol(0.79289202835515071));
  // R: pbinom(2^99, 2^100, 0.5)
  EXPECT_NEAR(FNBinomial(two100, std::ldexp(1.0f, 99), 0.5f), 0.5, Tol(0.5));
  // A small p puts the skewness and the continuity correction at several parts in a million of
  // the lower tail, well above the tolerance.
  const float two50 = std::ldexp(1.0f, 50);
  const float p = std::ldexp(1.0f, -10);
  // R: pbinom(2^40 - 3*2^20, 2^50, 2^-10)
  EXPECT_NEAR(FNBinomial(two50, std::ldexp(1.0f, 40) - 3.0f * std::ldexp(1.0f, 20), p), 1.3434120707765812e-03,
              Tol(1.3434120707765812e-03));
  // R: pbinom(2^40 - 5*2^20, 2^50, 2^-10)
  EXPECT_NEAR(FNBinomial(two50, std::ldexp(1.0f, 40) - 5.0f * std::ldexp(1.0f, 20), p), 2.8303642547970957e-07,
              Tol(2.8303642547970957e-07));
  // R: pbinom(2^40 + 2^21, 2^50, 2^-10)
  EXPECT_NEAR(FNBinomial(two50, std::ldexp(1.0f, 40) + std::ldexp(1.0f, 21), p), 9.7730258073051701e-01,
              Tol(9.7730258073051701e-01));
  // Few successes among 2^100 trials stay with the incomplete beta.
  // R: pbinom(1000, 2^100, 2^-90)
  EXPECT_NEAR(FNBinomial(two100, 1000.0f, std::ldexp(1.0f, -90)), 0.23208977243022208, Tol(0.23208977243022208));
}

// P(X <= k) for k = 0..n, summed term by term in long double from b(0) = q^n and
// b(i + 1) = b(i) (n - i) p / ((i + 1) q): an independent way to the same numbers.
std::vector<long double> SummedTerms(int n, long double p) {
  const long double q = 1.0L - p;
  std::vector<long double> cumulative(n + 1);
  long double term = std::pow(q, static_cast<long double>(n));
  long double sum = 0.0L;
  for (int i = 0; i <= n; ++i) {
    sum += term;
    cumulative[i] = sum;
    term *= (n - i) * p / ((i + 1) * q);
  }
  return cumulative;
}

TEST(DistributionBinomial, EqualsTheSumOfItsTerms) {
  for (int n : {1, 2, 7, 20, 50, 200, 1000}) {
    for (float p : {0.5f, 0.3f, 0.05f, 0.9f}) {
      const std::vector<long double> expected = SummedTerms(n, p);
      for (int k = 0; k < n; ++k) {
        SCOPED_TRACE(testing::Message() << "FNBinomial(" << n << ", " << k << ", " << p << ")");
        const double e = static_cast<double>(expected[k]);
        EXPECT_NEAR(FNBinomial(static_cast<float>(n), static_cast<float>(k), p), e, Tol(e));
      }
    }
  }
}

TEST(DistributionBinomial, AllTrialsSucceedingGivesExactlyOne) {
  EXPECT_EQ(FNBinomial(1.0f, 1.0f, 0.5f), 1.0f);
  EXPECT_EQ(FNBinomial(10.0f, 10.0f, 0.3f), 1.0f);
  EXPECT_EQ(FNBinomial(16000.0f, 16000.0f, 0.5f), 1.0f);
  EXPECT_EQ(FNBinomial(0.0f, 0.0f, 0.5f), 1.0f);  // no trials: X = 0 for certain
}

TEST(DistributionBinomial, IsSymmetricAtOneHalf) {
  // P(X <= k) + P(X <= n - k - 1) = 1 for p = 1/2.
  for (float n : {7.0f, 20.0f, 101.0f, 16000.0f}) {
    for (float k : {0.0f, 3.0f, std::floor(n / 2.0f) - 1.0f}) {
      SCOPED_TRACE(testing::Message() << "n = " << n << ", k = " << k);
      const double sum = static_cast<double>(FNBinomial(n, k, 0.5f)) + FNBinomial(n, n - k - 1.0f, 0.5f);
      EXPECT_NEAR(sum, 1.0, 0x1p-24);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Upper tails, formed by the callers as 1 - F

TEST(DistributionUpperTail, OneMinusLowerTailIsGoodToTheFloatSpacingBelowOne) {
  // 1 - F is exact in float for F >= 1/2, so its error is that of F: half a step of the float
  // grid below 1, 2^-25.  We allow one full step, 2^-24 = 6e-8.
  constexpr double kStep = 0x1p-24;
  const struct {
    const char* call;
    float lower;
    double upper;
  } cases[] = {
      {"FNGauss(5)", FNGauss(5.0f), 2.8665157187919391e-07},            // R: pnorm(5, lower.tail = FALSE)
      {"FNGauss(4)", FNGauss(4.0f), 3.1671241833119924e-05},            // R: pnorm(4, lower.tail = FALSE)
      {"FNChi(1, 30)", FNChi(1, 30.0f), 4.3204630578274968e-08},        // R: pchisq(30, 1, lower.tail = FALSE)
      {"FNChi(5, 25)", FNChi(5, 25.0f), 0.00013933379118562616},        // R: pchisq(25, 5, lower.tail = FALSE)
      {"FNChi(100, 180)", FNChi(100, 180.0f), 1.6494985017178244e-06},  // R: pchisq(180, 100, lower.tail = FALSE)
      // R: pf(25, 1, 32000, lower.tail = FALSE)
      {"FNFisher(1, 32000, 25)", FNFisher(1, 32000, 25.0f), 5.7632945771141589e-07},
      // R: pf(12, 5, 10, lower.tail = FALSE)
      {"FNFisher(5, 10, 12)", FNFisher(5, 10, 12.0f), 0.00057721606687745396},
      // R: pbinom(19, 20, 0.5, lower.tail = FALSE)
      {"FNBinomial(20, 19, 0.5)", FNBinomial(20.0f, 19.0f, 0.5f), 9.5367431640624947e-07},
      // R: pbinom(70, 100, 0.5, lower.tail = FALSE)
      {"FNBinomial(100, 70, 0.5)", FNBinomial(100.0f, 70.0f, 0.5f), 1.6080007647833161e-05},
  };
  for (const auto& c : cases) EXPECT_NEAR(1.0f - c.lower, c.upper, kStep) << c.call;
}

// ---------------------------------------------------------------------------------------------
// Arguments outside the reported ranges: every function returns normally with a finite value,
// a probability stays within [0, 1], and the documented choices hold.

const float kOddFloats[] = {kNaN,    -kInf, -FLT_MAX, -1e30f, -1.0f, -0.0f,   0.0f, FLT_TRUE_MIN,
                            FLT_MIN, 0.5f,  1.0f,     1.5f,   1e30f, FLT_MAX, kInf};
const int kOddInts[] = {INT_MIN, -1, 0, 1, 2, 32000, INT_MAX};

void ExpectProbability(float value) {
  EXPECT_TRUE(std::isfinite(value)) << value;
  EXPECT_GE(value, 0.0f);
  EXPECT_LE(value, 1.0f);
}

TEST(DistributionOutOfRange, ResultsAreFiniteProbabilitiesAndNothingThrows) {
  for (float a : kOddFloats) {
    SCOPED_TRACE(testing::Message() << "a = " << a);
    EXPECT_NO_THROW(ExpectProbability(FNGauss(a)));
    EXPECT_NO_THROW(EXPECT_TRUE(std::isfinite(FNGaussIn(a))));
    for (int df : kOddInts) {
      SCOPED_TRACE(testing::Message() << "df = " << df);
      EXPECT_NO_THROW(ExpectProbability(FNChi(df, a)));
      for (int df2 : kOddInts) {
        SCOPED_TRACE(testing::Message() << "df2 = " << df2);
        EXPECT_NO_THROW(ExpectProbability(FNFisher(df, df2, a)));
        float q = kNaN;
        EXPECT_NO_THROW(q = FNFishIn(df, df2, a));
        EXPECT_TRUE(std::isfinite(q));
        EXPECT_GE(q, 0.0f);
      }
    }
    for (float b : kOddFloats) {
      for (float c : kOddFloats) {
        SCOPED_TRACE(testing::Message() << "FNBinomial(" << a << ", " << b << ", " << c << ")");
        EXPECT_NO_THROW(ExpectProbability(FNBinomial(a, b, c)));
      }
    }
  }
}

TEST(DistributionOutOfRange, NoDegreesOfFreedomGiveZeroSoThatOneMinusFIsOne) {
  for (float x : {0.0f, 3.0f, 1e30f, kInf, kNaN}) {
    EXPECT_EQ(FNChi(0, x), 0.0f) << x;
    EXPECT_EQ(FNChi(-1, x), 0.0f) << x;
    EXPECT_EQ(FNFisher(0, 5, x), 0.0f) << x;
    EXPECT_EQ(FNFisher(5, -1, x), 0.0f) << x;
  }
  EXPECT_EQ(FNFishIn(0, 5, 0.95f), 1.0f);
  EXPECT_EQ(FNFishIn(5, -1, 0.95f), 1.0f);
}

TEST(DistributionOutOfRange, ChiAndFisherBelowZeroNotANumberAndInfinity) {
  EXPECT_EQ(FNChi(3, -2.0f), 0.0f);
  EXPECT_EQ(FNChi(3, 0.0f), 0.0f);
  EXPECT_EQ(FNChi(3, kNaN), 0.0f);
  EXPECT_EQ(FNChi(3, kInf), 1.0f);
  EXPECT_EQ(FNFisher(3, 7, -2.0f), 0.0f);
  EXPECT_EQ(FNFisher(3, 7, kNaN), 0.0f);
  EXPECT_EQ(FNFisher(3, 7, kInf), 1.0f);
}

TEST(DistributionOutOfRange, GaussAtInfinityAndNotANumber) {
  EXPECT_EQ(FNGauss(-kInf), 0.0f);
  EXPECT_EQ(FNGauss(kInf), 1.0f);
  EXPECT_EQ(FNGauss(kNaN), 0.5f);  // a two-sided p of 1
}

TEST(DistributionOutOfRange, NormalQuantileClampsToTheSmallestFloatProbability) {
  // p <= 0 is taken as the smallest positive float, p >= 1 as its mirror image.
  const double extreme = -14.121426613350497;  // R: qnorm(2^-149)
  EXPECT_NEAR(FNGaussIn(0.0f), extreme, Tol(extreme));
  EXPECT_NEAR(FNGaussIn(-3.0f), extreme, Tol(extreme));
  EXPECT_NEAR(FNGaussIn(1.0f), -extreme, Tol(extreme));
  EXPECT_NEAR(FNGaussIn(2.0f), -extreme, Tol(extreme));
  EXPECT_EQ(FNGaussIn(kNaN), 0.0f);
  // Non-decreasing across the clamps.
  EXPECT_LE(FNGaussIn(0.0f), FNGaussIn(FLT_TRUE_MIN));
  EXPECT_LE(FNGaussIn(std::nextafter(1.0f, 0.0f)), FNGaussIn(1.0f));
  // R: qnorm(1 - 2^-24), the largest float probability below 1.
  EXPECT_NEAR(FNGaussIn(std::nextafter(1.0f, 0.0f)), 5.2947040848545974, Tol(5.2947040848545974));
}

TEST(DistributionOutOfRange, FQuantileStaysFiniteAtTheEnds) {
  EXPECT_EQ(FNFishIn(5, 10, 0.0f), 0.0f);
  EXPECT_EQ(FNFishIn(5, 10, -1.0f), 0.0f);
  EXPECT_EQ(FNFishIn(5, 10, kNaN), 1.0f);
  for (const auto& df : {std::pair{5, 10}, std::pair{32000, 32000}, std::pair{1, 32000}}) {
    SCOPED_TRACE(testing::Message() << "(" << df.first << ", " << df.second << ")");
    const float top = FNFishIn(df.first, df.second, 1.0f);
    EXPECT_TRUE(std::isfinite(top));
    EXPECT_GT(top, FNFishIn(df.first, df.second, std::nextafter(1.0f, 0.0f)));
    EXPECT_EQ(FNFishIn(df.first, df.second, 2.0f), top);
  }
  // With one degree of freedom each the upper quantile outgrows every float.
  EXPECT_EQ(FNFishIn(1, 1, 1.0f), FLT_MAX);
}

TEST(DistributionOutOfRange, BinomialCountsAndProbabilitiesAtTheEdges) {
  EXPECT_EQ(FNBinomial(10.0f, -1.0f, 0.5f), 0.0f);  // k < 0
  EXPECT_EQ(FNBinomial(10.0f, 12.0f, 0.5f), 1.0f);  // k > n
  EXPECT_EQ(FNBinomial(-5.0f, 0.0f, 0.5f), 1.0f);   // n < 0 counts as no trials
  EXPECT_EQ(FNBinomial(10.0f, 3.0f, 0.0f), 1.0f);   // X = 0
  EXPECT_EQ(FNBinomial(10.0f, 3.0f, -0.5f), 1.0f);
  EXPECT_EQ(FNBinomial(10.0f, 3.0f, 1.0f), 0.0f);  // X = n
  EXPECT_EQ(FNBinomial(10.0f, 3.0f, 1.5f), 0.0f);
  EXPECT_EQ(FNBinomial(kInf, 3.0f, 0.5f), 0.0f);
  EXPECT_EQ(FNBinomial(kNaN, 3.0f, 0.5f), 1.0f);
  EXPECT_EQ(FNBinomial(10.0f, kNaN, 0.5f), 1.0f);
  EXPECT_EQ(FNBinomial(10.0f, 3.0f, kNaN), 1.0f);
  // n is rounded to the nearest count, k taken down to a count.
  EXPECT_EQ(FNBinomial(2.6f, 1.0f, 0.5f), 0.5f);  // R: pbinom(1, 3, 0.5)
  EXPECT_EQ(FNBinomial(3.0f, 1.7f, 0.5f), 0.5f);  // R: pbinom(1, 3, 0.5)
}

}  // namespace
}  // namespace veltrum
