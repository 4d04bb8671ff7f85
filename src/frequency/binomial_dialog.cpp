#include "frequency/binomial_dialog.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

namespace {

constexpr int number_limit = 9, keyword_limit = 254;

// The largest whole number not above value + 0.5, held to the 32-bit range by the caller.
real nearest_whole(real value) { return int_floor(value + 0.5L); }

}  // namespace

bool BinomDialog::start(DialogWindow& d) {
  const auto& r = module_.remembered;
  if (r.wide[binomial_inputs::n] > 0) {
    d.set_text(IDC_BINOM_N, number_text_trimmed(static_cast<float>(r.wide[binomial_inputs::n])));
    d.set_text(IDC_BINOM_K, number_text_trimmed(static_cast<float>(r.wide[binomial_inputs::k])));
    d.set_text(IDC_BINOM_THETA, number_text_trimmed(r.real[binomial_inputs::theta]));
    d.select_text(IDC_BINOM_N);
  }
  d.focus(IDC_BINOM_KEYWORD);
  if (!module_.keyword.empty()) {
    d.set_text(IDC_BINOM_KEYWORD, module_.keyword);
    d.select_text(IDC_BINOM_KEYWORD);
  }
  return true;
}

void BinomDialog::compute(DialogWindow& d) {
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

  if (!(theta0 > 0 && theta0 < 1)) return reject(module_.host, d, IDC_BINOM_THETA, "Wahrscheinlichkeiten p nur 0<p<1!");

  auto& r = module_.remembered;
  r.wide[binomial_inputs::n] = n;
  r.wide[binomial_inputs::k] = k;
  r.real[binomial_inputs::theta] = theta0;
  d.end(dialog_computed);
}

}  // namespace veltrum
