#include "frequency/two_frequencies.hpp"

#include <algorithm>
#include <cmath>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/distribution.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/test_dialog.hpp"
#include "frame/test_run.hpp"

namespace veltrum {

namespace {

// Where the dialog remembers its inputs between passes.
constexpr int remembered_n1 = 0, remembered_n2 = 1;
constexpr int frequency_limit = 9, keyword_limit = 254;

class HaufigDialog : public TestDialog {
 public:
  explicit HaufigDialog(Module& module) : TestDialog(module, {IDC_HAUFIG_KEYWORD, IDC_HAUFIG_N1, IDC_HAUFIG_N2}) {}

 private:
  bool start(DialogWindow& d) override {
    if (!module_.keyword.empty()) d.set_text(IDC_HAUFIG_KEYWORD, module_.keyword);
    const auto& whole = module_.remembered.whole;
    if (whole[remembered_n1] != 0) d.set_text(IDC_HAUFIG_N1, number_text_trimmed(whole[remembered_n1]));
    if (whole[remembered_n2] != 0) d.set_text(IDC_HAUFIG_N2, number_text_trimmed(whole[remembered_n2]));
    focus_and_select(d, IDC_HAUFIG_KEYWORD);
    return true;
  }

  void compute(DialogWindow& d) override {
    auto& whole = module_.remembered.whole;
    module_.keyword = d.text(IDC_HAUFIG_KEYWORD, keyword_limit);
    // Each frequency is stored as read; an empty field only takes the focus.
    for (const auto& [field, slot] :
         {std::pair{IDC_HAUFIG_N1, remembered_n1}, std::pair{IDC_HAUFIG_N2, remembered_n2}}) {
      const auto value = read_whole_number(d, field, frequency_limit);
      if (!value) {
        d.focus(field);
        return;
      }
      whole[slot] = *value;
    }
    const int n1 = whole[remembered_n1], n2 = whole[remembered_n2];
    if (n1 < 0 || n2 < 0 || n1 + n2 <= 0) {
      reject(module_.host, d, IDC_HAUFIG_N1, "Bitte überprüfen Sie die Eingabe!");
      return;
    }
    d.end(dialog_computed);
  }
};

}  // namespace

TwoFrequencies compare_frequencies(std::int16_t n1, std::int16_t n2) {
  TwoFrequencies r;
  const real n = static_cast<real>(n1) + n2;
  const real diff = std::fabs(static_cast<real>(n1) - n2) - 1;
  r.chi = to_float(diff * diff / n);
  r.p_chi = FNChiUpper(1, r.chi);
  r.p_one = FNBinomial(static_cast<float>(n), static_cast<float>(std::min(n1, n2)), 0.5f);
  r.p_two = r.p_one <= 0.5f ? to_float(2.0L * r.p_one) : 1.0f;
  return r;
}

void write_two_frequencies(Module& module, std::int16_t n1, std::int16_t n2, const TwoFrequencies& result) {
  ReportFile& r = module.report;
  write_keyword(module, 1);
  r.line("Vergleiche die absoluten Häufigkeiten n1=" + number_text_trimmed(n1) + " und n2=" + number_text_trimmed(n2) +
         ":");
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
  run_test(module, test, dialog, [&] {
    const std::int16_t n1 = module.remembered.whole[remembered_n1];
    const std::int16_t n2 = module.remembered.whole[remembered_n2];
    write_two_frequencies(module, n1, n2, compare_frequencies(n1, n2));
  });
}

}  // namespace veltrum
