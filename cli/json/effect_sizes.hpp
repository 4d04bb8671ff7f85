// Effect sizes of the rank and frequency tests, computed in double precision from the counts,
// rank sums and statistics a test's result holds.  Each says its direction: positive when the
// first group (or first variable) tends to the larger values.
//
// References: Kerby, D.S. (2014), The simple difference formula: an approach to teaching
// nonparametric correlation, Comprehensive Psychology 3 (rank-biserial correlation); Vargha, A.,
// Delaney, H.D. (2000), J. Educ. Behav. Statist. 25, 101-132 (A); Tomczak, M., Tomczak, E.
// (2014), Trends in Sport Sciences 21, 19-25 (epsilon squared, Kendall's W); Cohen, J. (1988),
// Statistical Power Analysis for the Behavioral Sciences, 2nd ed. (w, g, phi).  The intervals
// are those of R's effectsize package: Fisher's z of r with the standard error of the rank sum.
#pragma once

#include <optional>

namespace veltrum::json {

struct EffectInterval {
  double level = 0.95;
  double lower = 0, upper = 0;
};

struct EffectSize {
  double value = 0;
  std::optional<EffectInterval> ci;
};

// Two independent groups of n1 and n2 values, u1 = the pairs with a first-group value below a
// second-group value, ties counted one half (n1 n2 + n1 (n1 + 1) / 2 - R1).
// P(X1 > X2) - P(X1 < X2), with the 95 % interval by Fisher's z, SE sqrt((n1 + n2 + 1) / (3 n1 n2)).
EffectSize rank_biserial(double u1, double n1, double n2);
// P(X1 > X2) + P(X1 = X2) / 2.
double vargha_delaney_a(double u1, double n1, double n2);
// |Z| / sqrt(n1 + n2) with the sign of the rank-biserial correlation.
double r_z(double z, double u1, double n1, double n2);

// Matched pairs: the rank sums of the positive and the negative non-zero differences
// first - second over `nonzero` pairs; (R+ - R-) / (R+ + R-), with the 95 % interval by Fisher's
// z, SE sqrt(n'(n'+1)(2n'+1)/6) / (n'(n'+1)/2).  Null without non-zero differences.
std::optional<EffectSize> matched_rank_biserial(double r_plus, double r_minus, double nonzero);

// Kruskal-Wallis: H / (N - 1) and (H - k + 1) / (N - k).
double epsilon_squared(double h, double total);
double eta_squared_h(double h, double groups, double total);

// Friedman: the tie-corrected chi-square over r (c - 1).
double kendalls_w(double chi_square, double blocks, double columns);

// A 2 x 2 table (a, b; c, d): |ad - bc| / sqrt of the product of the margins, the square root of
// the uncorrected chi-square over N.  Null when a margin is 0.
std::optional<double> phi(double a, double b, double c, double d);

// Two counts of one sample: the larger share minus one half.  Null when both are 0.
std::optional<double> cohens_g(double first, double second);

// Goodness of fit: sqrt(chi-square / N).  Null when N is 0.
std::optional<double> cohens_w(double chi_square, double total);

}  // namespace veltrum::json
