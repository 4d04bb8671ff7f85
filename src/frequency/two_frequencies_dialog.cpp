#include "frequency/two_frequencies_dialog.hpp"

#include <utility>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

namespace {

constexpr int frequency_limit = 9, keyword_limit = 254;

}  // namespace

bool HaufigDialog::start(DialogWindow& d) {
  if (!module_.keyword.empty()) d.set_text(IDC_HAUFIG_KEYWORD, module_.keyword);
  const auto& whole = module_.remembered.whole;
  if (whole[two_frequency_inputs::n1] != 0)
    d.set_text(IDC_HAUFIG_N1, number_text_trimmed(whole[two_frequency_inputs::n1]));
  if (whole[two_frequency_inputs::n2] != 0)
    d.set_text(IDC_HAUFIG_N2, number_text_trimmed(whole[two_frequency_inputs::n2]));
  focus_and_select(d, IDC_HAUFIG_KEYWORD);
  return true;
}

void HaufigDialog::compute(DialogWindow& d) {
  auto& whole = module_.remembered.whole;
  module_.keyword = d.text(IDC_HAUFIG_KEYWORD, keyword_limit);
  // Each frequency is stored as read; an empty field only takes the focus.
  for (const auto& [field, slot] :
       {std::pair{IDC_HAUFIG_N1, two_frequency_inputs::n1}, std::pair{IDC_HAUFIG_N2, two_frequency_inputs::n2}}) {
    const auto value = read_whole_number(d, field, frequency_limit);
    if (!value) {
      d.focus(field);
      return;
    }
    whole[slot] = *value;
  }
  const int n1 = whole[two_frequency_inputs::n1], n2 = whole[two_frequency_inputs::n2];
  if (n1 < 0 || n2 < 0 || n1 + n2 <= 0) {
    reject(module_.host, d, IDC_HAUFIG_N1, "Bitte überprüfen Sie die Eingabe!");
    return;
  }
  d.end(dialog_computed);
}

}  // namespace veltrum
