#include "json/effect_sizes.hpp"

#include <algorithm>
#include <cmath>

namespace veltrum::json {

namespace {

// The 95 % interval of a correlation r by Fisher's z with standard error `se`, kept in [-1, 1]
// (R's effectsize: tanh(atanh(r) -/+ qnorm(0.975) se)).
EffectInterval fisher_z_interval(double r, double se) {
  constexpr double z975 = 1.959963984540054;  // qnorm(0.975)
  const double z = std::atanh(r);
  return {0.95, std::clamp(std::tanh(z - z975 * se), -1.0, 1.0), std::clamp(std::tanh(z + z975 * se), -1.0, 1.0)};
}

}  // namespace

EffectSize rank_biserial(double u1, double n1, double n2) {
  const double pairs = n1 * n2;
  const double r = (pairs - 2 * u1) / pairs;
  return {r, fisher_z_interval(r, std::sqrt((n1 + n2 + 1) / (3 * n1 * n2)))};
}

double vargha_delaney_a(double u1, double n1, double n2) { return (n1 * n2 - u1) / (n1 * n2); }

double r_z(double z, double u1, double n1, double n2) {
  const double magnitude = std::fabs(z) / std::sqrt(n1 + n2);
  return 2 * u1 > n1 * n2 ? -magnitude : magnitude;
}

std::optional<EffectSize> matched_rank_biserial(double r_plus, double r_minus, double nonzero) {
  if (nonzero < 1) return std::nullopt;
  const double most = nonzero * (nonzero + 1) / 2;
  const double r = (r_plus - r_minus) / most;
  const double se = std::sqrt((2 * nonzero * nonzero * nonzero + 3 * nonzero * nonzero + nonzero) / 6) / most;
  return EffectSize{r, fisher_z_interval(r, se)};
}

double epsilon_squared(double h, double total) { return h / (total - 1); }

double eta_squared_h(double h, double groups, double total) { return (h - groups + 1) / (total - groups); }

double kendalls_w(double chi_square, double blocks, double columns) { return chi_square / (blocks * (columns - 1)); }

std::optional<double> phi(double a, double b, double c, double d) {
  const double margins = (a + b) * (c + d) * (a + c) * (b + d);
  if (margins <= 0) return std::nullopt;
  return std::fabs(a * d - b * c) / std::sqrt(margins);
}

std::optional<double> cohens_g(double first, double second) {
  const double n = first + second;
  if (n <= 0) return std::nullopt;
  return std::max(first, second) / n - 0.5;
}

std::optional<double> cohens_w(double chi_square, double total) {
  if (total <= 0) return std::nullopt;
  return std::sqrt(chi_square / total);
}

}  // namespace veltrum::json
