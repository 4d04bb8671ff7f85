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

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/distribution.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/test_dialog.hpp"
#include "frame/test_run.hpp"

namespace veltrum {

namespace {

// Where the dialog remembers its inputs between passes.
constexpr int remembered_n = 0, remembered_k = 1, remembered_theta = 0;
constexpr int number_limit = 9, keyword_limit = 254;

// The largest whole number not above value + 0.5, held to the 32-bit range by the caller.
real nearest_whole(real value) { return int_floor(value + 0.5L); }

class BinomDialog : public TestDialog {
 public:
  explicit BinomDialog(Module& module)
      : TestDialog(module, {IDC_BINOM_KEYWORD, IDC_BINOM_N, IDC_BINOM_K, IDC_BINOM_THETA}) {}

 private:
  bool start(DialogWindow& d) override {
    const auto& r = module_.remembered;
    if (r.wide[remembered_n] > 0) {
      d.set_text(IDC_BINOM_N, number_text_trimmed(static_cast<float>(r.wide[remembered_n])));
      d.set_text(IDC_BINOM_K, number_text_trimmed(static_cast<float>(r.wide[remembered_k])));
      d.set_text(IDC_BINOM_THETA, number_text_trimmed(r.real[remembered_theta]));
      d.select_text(IDC_BINOM_N);
    }
    d.focus(IDC_BINOM_KEYWORD);
    if (!module_.keyword.empty()) {
      d.set_text(IDC_BINOM_KEYWORD, module_.keyword);
      d.select_text(IDC_BINOM_KEYWORD);
    }
    return true;
  }

  void compute(DialogWindow& d) override {
    module_.keyword = d.text(IDC_BINOM_KEYWORD, keyword_limit);

    std::string n_text = d.text(IDC_BINOM_N, number_limit);
    if (n_text.empty()) return d.focus(IDC_BINOM_N);
    n_text = with_commas_as_points(n_text);
    d.set_text(IDC_BINOM_N, n_text);
    const real n_value = nearest_whole(read_number(n_text));

    // k may carry a decimal comma as n may; the field shows the k taken in any case below.
    const std::string k_text = d.text(IDC_BINOM_K, number_limit);
    if (k_text.empty()) return d.focus(IDC_BINOM_K);
    real k_value = nearest_whole(read_number(with_commas_as_points(k_text)));

    // theta0 as typed: a decimal comma ends the number.
    const std::string theta_text = d.text(IDC_BINOM_THETA, number_limit);
    if (theta_text.empty()) return d.focus(IDC_BINOM_THETA);
    const float theta0 = to_float(read_number(theta_text));

    if (n_value > INT32_MAX) return reject(module_.host, d, IDC_BINOM_N, "Anzahl Versuche höchstens 2147483647 !");
    const std::int32_t n = to_int32(n_value);
    if (n <= 0) return reject(module_.host, d, IDC_BINOM_N, "Anzahl Versuche immer > 0 !");

    // k is a count between 0 and n: a larger one is taken as n, a negative one as 0.
    k_value = std::clamp<real>(k_value, 0.0L, static_cast<real>(n));
    const std::int32_t k = to_int32(k_value);
    d.set_text(IDC_BINOM_K, number_text_trimmed(static_cast<float>(k)));

    if (!(theta0 > 0 && theta0 < 1))
      return reject(module_.host, d, IDC_BINOM_THETA, "Wahrscheinlichkeiten p nur 0<p<1!");

    auto& r = module_.remembered;
    r.wide[remembered_n] = n;
    r.wide[remembered_k] = k;
    r.real[remembered_theta] = theta0;
    d.end(dialog_computed);
  }
};

}  // namespace

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
  const float fn = static_cast<float>(n), fk = static_cast<float>(k);
  r.ratio = to_float(static_cast<real>(k) / n);
  r.p_low = FNBinomial(fn, fk, theta0);
  r.p_high = k > 0 ? FNBinomialUpper(fn, static_cast<float>(static_cast<real>(k) - 1), theta0) : 1.0f;
  r.p_two = to_float(std::min({1.0L, 2.0L * r.p_low, 2.0L * r.p_high}));
  for (std::size_t i = 0; i < confidence_levels.size(); ++i)
    r.intervals[i] = binomial_interval(n, k, confidence_levels[i]);
  return r;
}

void write_binomial(Module& module, std::int32_t n, std::int32_t k, float theta0, const BinomialTest& result) {
  ReportFile& r = module.report;
  write_keyword(module, 2);

  // n and k right-aligned in a field as wide as the number text of n, its leading blank included.
  const float fn = static_cast<float>(n), fk = static_cast<float>(k);
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
  r.picture("##.######", theta0);
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
  run_test(module, test, dialog, [&] {
    const std::int32_t n = module.remembered.wide[remembered_n];
    const std::int32_t k = module.remembered.wide[remembered_k];
    const float theta0 = module.remembered.real[remembered_theta];
    write_binomial(module, n, k, theta0, binomial_test(n, k, theta0));
  });
}

}  // namespace veltrum
