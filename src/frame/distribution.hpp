// The six distribution functions every test of the module draws its probabilities and
// quantiles from.
//
// Arguments and results are single precision, as the callers store them; the computation inside
// is long double.  Each function returns normally for every argument, including those outside
// the ranges the callers report (see distribution.cpp for the value chosen in each case), and
// never throws.  Each distribution function has an upper tail beside it (the ...Upper functions),
// computed on its own path instead of as 1 - F, so that a small upper tail keeps its digits.
#pragma once

namespace veltrum {

// P(Z <= x) for a standard normal Z.
float FNGauss(float x) noexcept;
// P(Z > x).
float FNGaussUpper(float x) noexcept;

// The standard normal quantile: the z with P(Z <= z) = p.
float FNGaussIn(float p) noexcept;

// P(X <= x) for a chi-square variable X with df degrees of freedom.
float FNChi(int df, float x) noexcept;
// P(X > x).
float FNChiUpper(int df, float x) noexcept;

// P(F <= x) for an F variable with (df1, df2) degrees of freedom.
float FNFisher(int df1, int df2, float x) noexcept;
// P(F > x).
float FNFisherUpper(int df1, int df2, float x) noexcept;

// The F quantile with lower-tail probability p for (df1, df2) degrees of freedom.
float FNFishIn(int df1, int df2, float p) noexcept;

// P(X <= k) for X binomial with n trials and success probability p; n and k are whole numbers
// carried as floats.
float FNBinomial(float n, float k, float p) noexcept;
// P(X > k), so that P(X >= k) is FNBinomialUpper(n, k - 1, p).
float FNBinomialUpper(float n, float k, float p) noexcept;

}  // namespace veltrum
