#include "frequency/two_frequencies.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "frame/distribution.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/test_run.hpp"
#include "frequency/two_frequencies_dialog.hpp"

namespace veltrum {

TwoFrequencies compare_frequencies(std::int16_t n1, std::int16_t n2) {
  TwoFrequencies r;
  r.n1 = n1;
  r.n2 = n2;
  const real n = static_cast<real>(n1) + n2;
  const real diff = std::fabs(static_cast<real>(n1) - n2) - 1;
  r.chi = to_float(diff * diff / n);
  r.p_chi = FNChiUpper(1, r.chi);
  r.p_one = FNBinomial(static_cast<float>(n), static_cast<float>(std::min(n1, n2)), 0.5f);
  r.p_two = r.p_one <= 0.5f ? to_float(2.0L * r.p_one) : 1.0f;
  return r;
}

std::vector<PValue> TwoFrequencies::p_values() const {
  return {
      {"Chi2", p_chi, Obtained::approximate}, {"k", p_one, Obtained::exact, Sides::one}, {"k", p_two, Obtained::exact}};
}

void write_two_frequencies(ReportFile& r, const TwoFrequencies& result) {
  write_keyword(r, result.keyword, 1);
  r.line("Vergleiche die absoluten Häufigkeiten n1=" + number_text_trimmed(result.n1) +
         " und n2=" + number_text_trimmed(result.n2) + ":");
  r.line();
  if (result.chi < 99)
    r.picture("Prüfgröße Chi²=###.## : ", result.chi);
  else
    r.picture("Prüfgröße Chi²=0.#^^^^: ", result.chi);
  r.picture("p=#.###### zweiseitig", result.p_chi);
  r.end_line();
  r.line();
  r.picture("Exakter Binomial-Test : p=#.###### ein\\!seitig", result.p_one);
  r.end_line();
  r.picture("Exakter Binomial-Test : p=#.###### zweiseitig", result.p_two);
  r.end_line();
  r.line();
  r.line("Literatur: Sachs, L.: Angewandte Statistik. Springer-Verlag, Berlin.");
}

void two_frequencies_entry(Module& module, const CatalogueEntry& test) {
  HaufigDialog dialog(module);
  run_test(
      module, test, dialog,
      [&] {
        const auto& whole = module.remembered.whole;
        TwoFrequencies result = compare_frequencies(whole[two_frequency_inputs::n1], whole[two_frequency_inputs::n2]);
        result.keyword = module.keyword;
        return std::optional(result);
      },
      write_two_frequencies);
}

}  // namespace veltrum
