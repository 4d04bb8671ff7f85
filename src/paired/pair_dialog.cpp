#include "paired/pair_dialog.hpp"

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"
#include "frame/records.hpp"

namespace veltrum {

bool PairDialog::start(DialogWindow& d) {
  const auto& whole = module_.remembered.whole;
  d.check(IDC_PAIRS_LISTING, module_.listing_check != 0);
  if (whole[pair_inputs::group_number] >= 1)
    d.set_text(IDC_PAIRS_GROUP, number_text_trimmed(whole[pair_inputs::group_number]));
  fill_variable_lists(
      module_.data, d, {IDC_PAIRS_VARIABLE, whole[pair_inputs::group_variable]},
      {{IDC_PAIRS_FIRST, whole[pair_inputs::first_variable]}, {IDC_PAIRS_SECOND, whole[pair_inputs::second_variable]}});
  return false;
}

void PairDialog::compute(DialogWindow& d) {
  const bool listed = d.checked(IDC_PAIRS_LISTING);
  module_.listing_check = listed ? 1 : 0;
  module_.listing = listed;

  auto& whole = module_.remembered.whole;
  std::int16_t group = read_bounded_number(d, IDC_PAIRS_GROUP, pair_group_field_limit, beyond_groups).value_or(0);
  const int group_variable = d.selection(IDC_PAIRS_VARIABLE) < 0 ? 0 : d.selection(IDC_PAIRS_VARIABLE);
  whole[pair_inputs::group_number] = group;
  whole[pair_inputs::group_variable] = static_cast<std::int16_t>(group_variable);
  whole[pair_inputs::first_variable] = static_cast<std::int16_t>(d.selection(IDC_PAIRS_FIRST) + 1);
  whole[pair_inputs::second_variable] = static_cast<std::int16_t>(d.selection(IDC_PAIRS_SECOND) + 1);

  Host& host = module_.host;
  if (group_variable > 0 && group <= 0) {
    reject(host, d, IDC_PAIRS_GROUP, join_lines({"Bitte eine Gruppennummer größer 0 angeben.", "", other_values_text}));
    return;
  }
  if (!confirm_group_number_without_variable(host, d, IDC_PAIRS_VARIABLE, group_variable, group)) return;
  whole[pair_inputs::group_number] = group;
  if (group < 0 || group > max_group_number) {
    reject(host, d, IDC_PAIRS_GROUP, "Gruppennummern nur >0 und <=1000!");
    return;
  }
  const int first = whole[pair_inputs::first_variable], second = whole[pair_inputs::second_variable];
  if (first == 0 || second == 0) {
    caution_box(host, "Bitte Variable auswählen!");
    d.focus(first == 0 ? IDC_PAIRS_FIRST : IDC_PAIRS_SECOND);
    return;
  }
  if (first == second) {
    caution_box(host, "Bitte verschiedene Variablen!");
    d.focus(IDC_PAIRS_FIRST);
    return;
  }
  d.end(dialog_computed);
}

}  // namespace veltrum
