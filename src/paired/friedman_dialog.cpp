#include "paired/friedman_dialog.hpp"

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/records.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

namespace {
constexpr int group_field_limit = 11;
}  // namespace

bool FriedmanDialog::start(DialogWindow& d) {
  auto& whole = module_.remembered.whole;
  auto& targets = module_.work.w9;
  fill_variable_lists(module_.data, d, {IDC_FRIEDMAN_GROUP_VARIABLE, whole[blocked_inputs::group_variable]}, {});
  fill_variable_name_lists(module_.data, d, {{IDC_FRIEDMAN_TARGETS, 0}});
  const int count = d.item_count(IDC_FRIEDMAN_TARGETS);
  for (int k = 1; k <= whole[blocked_inputs::target_count] && k <= targets.high(); ++k)
    if (targets[k] >= 1 && targets[k] <= count) d.set_item_selected(IDC_FRIEDMAN_TARGETS, targets[k] - 1, true);
  if (whole[blocked_inputs::group_number] > 0)
    d.set_text(IDC_FRIEDMAN_GROUP, number_text_trimmed(whole[blocked_inputs::group_number]));
  d.check(IDC_FRIEDMAN_LISTING, whole[blocked_inputs::listing] != 0);
  // The list is rebuilt from the list box on "&Rechnen"; its count stays until then.
  for (int k = 1; k <= targets.high(); ++k) targets[k] = 0;
  return false;
}

void FriedmanDialog::compute(DialogWindow& d) {
  auto& whole = module_.remembered.whole;
  const int group_list = d.selection(IDC_FRIEDMAN_GROUP_VARIABLE);
  whole[blocked_inputs::group_variable] = static_cast<std::int16_t>(group_list > 0 ? group_list : 0);
  std::int16_t group = read_bounded_number(d, IDC_FRIEDMAN_GROUP, group_field_limit, beyond_groups).value_or(0);
  whole[blocked_inputs::group_number] = group;

  if (whole[blocked_inputs::group_variable] > 0 && group <= 0) {
    reject(module_.host, d, IDC_FRIEDMAN_GROUP,
           join_lines({"Bitte eine Gruppennummer größer als 0 eingeben.", "",
                       "Andere Gruppennummern sind nicht zugelassen !"}));
    return;
  }
  if (!confirm_group_number_without_variable(module_.host, d, IDC_FRIEDMAN_GROUP_VARIABLE,
                                             whole[blocked_inputs::group_variable], group))
    return;
  whole[blocked_inputs::group_number] = group;

  auto& targets = module_.work.w9;
  int c = 0;
  const int count = d.item_count(IDC_FRIEDMAN_TARGETS);
  for (int k = 0; k < count && c < targets.high(); ++k)
    if (d.item_selected(IDC_FRIEDMAN_TARGETS, k)) targets[++c] = static_cast<std::int16_t>(k + 1);
  whole[blocked_inputs::target_count] = static_cast<std::int16_t>(c);
  if (c < 2) {
    caution_box(module_.host, "Bitte mindestens zwei Zielvariablen auswählen!");
    d.focus(IDC_FRIEDMAN_TARGETS);
    return;
  }

  const bool listing = d.checked(IDC_FRIEDMAN_LISTING);
  whole[blocked_inputs::listing] = listing ? 1 : 0;
  module_.listing = listing;
  d.end(dialog_computed);
}

}  // namespace veltrum
