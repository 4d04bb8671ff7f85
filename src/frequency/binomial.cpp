// Binomial test and confidence intervals for a proportion.
//
// p-values: P(X <= k) and P(X >= k) = P(X > k - 1) for X ~ binomial(n, theta0); the
// two-sided p is twice the smaller tail, at most 1.
//
// Exact limits (Clopper and Pearson 1934) through the F distribution, with q = (1 + P) / 2:
//   U = (k + 1) F1 / ((n - k) + (k + 1) F1),  F1 = F-quantile(2(k + 1), 2(n - k); q)
//   L = k / (k + (n - k + 1) F2),             F2 = F-quantile(2(n - k + 1), 2k; q)
// For k = 0 the interval is [0, U] with U = F / (n + F), F = F-quantile(2, 2n; P), which is
// 1 - (1 - P)^(1/n); for k = n it is [n / (n + F), 1] = [(1 - P)^(1/n), 1].
//
// For large counts a normal approximation to the binomial limits, with z the normal quantile of
// q and the constants A = (z^2 + 2)/3, B = (7 - z^2)/18:
//   U = (k + A + z sqrt((k + 1 - B)(n - k - B) / S)) / D
//   L = (k - 1 + A - z sqrt((k - B)(n - k + 1 - B) / S)) / D,  D = n + 2A - 1, S = n + 11B - 4.
// At k = 0 (k = n) the radicand of L (of U) is negative for every level used here (z^2 < 7), so
// there the exact one-sided limit in closed form takes its place: it is cheap for any n.
#include "frequency/binomial.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "frame/distribution.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/test_run.hpp"
#include "frequency/binomial_dialog.hpp"

namespace veltrum {

BinomialInterval binomial_interval(std::int32_t n, std::int32_t k, float level) {
  BinomialInterval b;
  b.level = level;
  const real P = level;
  const real q = (1.0L + P) / 2.0L;
  const real nn = n, kk = k, rest = static_cast<real>(n) - k;

  if (k < binomial_exact_limit && n - k < binomial_exact_limit) {
    if (k > 0 && k < n) {
      const real f1 = FNFishIn(2 * (k + 1), 2 * (n - k), to_float(q));
      b.upper = to_float((kk + 1) * f1 / (rest + (kk + 1) * f1));
      const real f2 = FNFishIn(2 * (n - k + 1), 2 * k, to_float(q));
      b.lower = to_float(kk / (kk + (rest + 1) * f2));
    } else if (k == 0) {
      const real f = FNFishIn(2, 2 * n, level);
      b.lower = 0;
      b.upper = to_float(f / (nn + f));
    } else {
      const real f = FNFishIn(2, 2 * n, level);
      b.upper = 1;
      b.lower = to_float(nn / (nn + f));
    }
  } else if (k == 0 || k == n) {
    // (1 - P)^(1/n) and its complement, formed without losing the digits near 1.
    const real t = std::log1p(-P) / nn;
    if (k == 0) {
      b.lower = 0;
      b.upper = to_float(-std::expm1(t));
    } else {
      b.lower = to_float(std::exp(t));
      b.upper = 1;
    }
  } else {
    b.approximate = true;
    const real z = FNGaussIn(to_float(q));
    const real A = (z * z + 2) / 3, B = (7 - z * z) / 18;
    const real D = nn + 2 * A - 1, S = nn + 11 * B - 4;
    b.upper = to_float((kk + A + z * std::sqrt((kk + 1 - B) * (rest - B) / S)) / D);
    b.lower = to_float((kk - 1 + A - z * std::sqrt((kk - B) * (rest + 1 - B) / S)) / D);
  }
  b.one_sided = b.lower == 0.0f || b.upper == 1.0f;
  return b;
}

BinomialTest binomial_test(std::int32_t n, std::int32_t k, float theta0) {
  BinomialTest r;
  r.n = n;
  r.k = k;
  r.theta0 = theta0;
  const float fn = static_cast<float>(n), fk = static_cast<float>(k);
  r.ratio = to_float(static_cast<real>(k) / n);
  r.p_low = FNBinomial(fn, fk, theta0);
  r.p_high = k > 0 ? FNBinomialUpper(fn, static_cast<float>(static_cast<real>(k) - 1), theta0) : 1.0f;
  r.p_two = to_float(std::min({1.0L, 2.0L * r.p_low, 2.0L * r.p_high}));
  for (std::size_t i = 0; i < confidence_levels.size(); ++i)
    r.intervals[i] = binomial_interval(n, k, confidence_levels[i]);
  return r;
}

std::vector<PValue> BinomialTest::p_values() const {
  return {{"k", p_low, Obtained::exact, Sides::one},
          {"k", p_high, Obtained::exact, Sides::one},
          {"k", p_two, Obtained::exact}};
}

void write_binomial(ReportFile& r, const BinomialTest& result) {
  write_keyword(r, result.keyword, 2);

  // n and k right-aligned in a field as wide as the number text of n, its leading blank included.
  const float fn = static_cast<float>(result.n), fk = static_cast<float>(result.k);
  const std::string count_picture(number_text(fn).size(), '#');
  r.write("Anzahl Versuche n =");
  r.picture(count_picture, fn);
  r.end_line();
  r.write("Anzahl Erfolge  k =");
  r.picture(count_picture, fk);
  r.end_line();
  r.line();
  r.line();

  r.write("Hypothetischer Wert aus H0: theta0 =");
  r.picture("##.######", result.theta0);
  r.end_line();
  r.line();
  r.write("Errechnete relative Häufigkeit k/n =");
  r.picture("##.######", result.ratio);
  r.end_line();
  r.line();
  r.line();

  r.line("Einseitige Binomial-Tests der Nullhypothese H0(theta=theta0):");
  r.line();
  const std::string k_text = number_text_trimmed(fk);
  r.write("Zur Alternative Ha(theta<theta0): P(k<=" + k_text);
  r.picture(") = p =##.######", result.p_low);
  r.end_line();
  r.write("Zur Alternative Ha(theta>theta0): P(k>=" + k_text);
  r.picture(") = p =##.######", result.p_high);
  r.end_line();
  r.line();
  r.line();

  r.line("Zweiseitiger Test der Nullhypothese H0(theta=theta0):");
  r.line();
  r.write("Per Fisher's F mit Ablehnungsbereich p=2*(p/2): p =");
  r.picture("##.######", result.p_two);
  r.end_line();
  r.line();
  r.line();

  r.line("P*100%-Konfidenzintervalle für theta:");
  r.line();
  for (const BinomialInterval& b : result.intervals) {
    r.picture("P = #.##", b.level);
    r.write(": (");
    r.picture("##.###### ,", b.lower);
    r.picture("##.######", b.upper);
    r.write(" )");
    if (b.one_sided) r.write(" (einseitig!)");
    r.end_line();
  }
  r.line();
  r.line("Die 90%- und 98%-Konfidenzintervalle sind für Äquivalenztests mit den");
  r.line("Irrtumswahrscheinlichkeiten alpha=0.05=5% und alpha=0.01=1% verwendbar!");
  r.line();
  r.line();
  r.line("Literatur: Sachs, L.: Angewandte Statistik. Springer-Verlag, Berlin.");
  r.line("           Conover, W.J.: Practical Nonparametric Statistics (1999), Kap. 3.1.");
}

void binomial_entry(Module& module, const CatalogueEntry& test) {
  BinomDialog dialog(module);
  run_test(
      module, test, dialog,
      [&] {
        const auto& remembered = module.remembered;
        BinomialTest result = binomial_test(remembered.wide[binomial_inputs::n], remembered.wide[binomial_inputs::k],
                                            remembered.real[binomial_inputs::theta]);
        result.keyword = module.keyword;
        return std::optional(result);
      },
      write_binomial);
}

}  // namespace veltrum
