#include "blocked/friedman_dialog.hpp"

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

BlockInputs::BlockInputs(Module& module)
    : group_variable(module.remembered.whole[0]),
      group_number(module.remembered.whole[1]),
      target_count(module.remembered.whole[2]),
      listing(module.remembered.whole[3]),
      targets(module.work.w9) {}

namespace {
constexpr int group_field_limit = 11;
}  // namespace

bool FriedmanDialog::start(DialogWindow& d) {
  BlockInputs inputs(module_);
  auto& targets = inputs.targets;
  fill_variable_lists(module_.data, d, {IDC_FRIEDMAN_GROUP_VARIABLE, inputs.group_variable}, {});
  fill_variable_name_lists(module_.data, d, {{IDC_FRIEDMAN_TARGETS, 0}});
  const int count = d.item_count(IDC_FRIEDMAN_TARGETS);
  for (int k = 1; k <= inputs.target_count && k <= targets.high(); ++k)
    if (targets[k] >= 1 && targets[k] <= count) d.set_item_selected(IDC_FRIEDMAN_TARGETS, targets[k] - 1, true);
  if (inputs.group_number > 0) d.set_text(IDC_FRIEDMAN_GROUP, number_text_trimmed(inputs.group_number));
  d.check(IDC_FRIEDMAN_LISTING, inputs.listing != 0);
  // The list is rebuilt from the list box on "&Rechnen"; its count stays until then.
  for (int k = 1; k <= targets.high(); ++k) targets[k] = 0;
  return false;
}

void FriedmanDialog::compute(DialogWindow& d) {
  BlockInputs inputs(module_);
  const int group_list = d.selection(IDC_FRIEDMAN_GROUP_VARIABLE);
  inputs.group_variable = static_cast<std::int16_t>(group_list > 0 ? group_list : 0);
  std::int16_t group = read_bounded_number(d, IDC_FRIEDMAN_GROUP, group_field_limit, beyond_groups).value_or(0);
  inputs.group_number = group;

  if (inputs.group_variable > 0 && group <= 0) {
    reject(module_.host, d, IDC_FRIEDMAN_GROUP,
           join_lines({"Bitte eine Gruppennummer größer als 0 eingeben.", "",
                       "Andere Gruppennummern sind nicht zugelassen !"}));
    return;
  }
  if (!confirm_group_number_without_variable(module_.host, d, IDC_FRIEDMAN_GROUP_VARIABLE, inputs.group_variable,
                                             group))
    return;
  inputs.group_number = group;

  auto& targets = inputs.targets;
  int c = 0;
  const int count = d.item_count(IDC_FRIEDMAN_TARGETS);
  for (int k = 0; k < count && c < targets.high(); ++k)
    if (d.item_selected(IDC_FRIEDMAN_TARGETS, k)) targets[++c] = static_cast<std::int16_t>(k + 1);
  inputs.target_count = static_cast<std::int16_t>(c);
  if (c < 2) {
    caution_box(module_.host, "Bitte mindestens zwei Zielvariablen auswählen!");
    d.focus(IDC_FRIEDMAN_TARGETS);
    return;
  }

  const bool listing = d.checked(IDC_FRIEDMAN_LISTING);
  inputs.listing = listing ? 1 : 0;
  module_.listing = listing;
  d.end(dialog_computed);
}

}  // namespace veltrum
