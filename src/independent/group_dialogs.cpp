#include "independent/group_dialogs.hpp"

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/help.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"

namespace veltrum {

namespace {

constexpr std::string_view all_groups_text = "0=<Alle>";
// The group numbers a run of the k-group dialog clears, and those "all groups" fills in.
constexpr int group_number_slots = 201;

// The listing check box is read on every Rechnen, before any check.
void store_listing(Module& module, const DialogWindow& d) {
  const bool on = d.checked(IDC_GROUPS_LISTING);
  module.listing_check = on ? 1 : 0;
  module.listing = on;
}

// Both lists hold the variables of the active data file and show the remembered choices.
void fill_lists(Module& module, DialogWindow& d) {
  const auto& whole = module.remembered.whole;
  fill_variable_name_lists(module.data, d,
                           {{IDC_GROUPS_VARIABLE, whole[group_inputs::group_variable]},
                            {IDC_GROUPS_TARGET, whole[group_inputs::target_variable]}});
}

// The list choices: selected entry + 1, 0 when nothing is selected.
void store_variables(Module& module, const DialogWindow& d) {
  auto& whole = module.remembered.whole;
  whole[group_inputs::group_variable] = static_cast<std::int16_t>(d.selection(IDC_GROUPS_VARIABLE) + 1);
  whole[group_inputs::target_variable] = static_cast<std::int16_t>(d.selection(IDC_GROUPS_TARGET) + 1);
}

// "Bitte Gruppenvariable angeben!" or "Bitte eine Zielgröße eingeben!" when a list has no choice;
// true when both are chosen.
bool variables_chosen(Module& module, DialogWindow& d) {
  const auto& whole = module.remembered.whole;
  if (whole[group_inputs::group_variable] == 0) {
    caution_box(module.host, no_group_variable_text);
    d.focus(IDC_GROUPS_VARIABLE);
    return false;
  }
  if (whole[group_inputs::target_variable] < 1) {
    caution_box(module.host, "Bitte eine Zielgröße eingeben!");
    d.focus(IDC_GROUPS_TARGET);
    return false;
  }
  return true;
}

}  // namespace

// ---- k groups ----------------------------------------------------------------------------------

bool GroupsDialog::start(DialogWindow& d) {
  d.check(IDC_GROUPS_LISTING, module_.listing_check != 0);
  const std::int16_t request = module_.remembered.whole[group_inputs::group_count];
  d.set_text(IDC_GROUPS_COUNT, request == 0 ? std::string(all_groups_text) : number_text_trimmed(request));
  d.set_text(IDC_GROUPS_NUMBER, "");
  fill_lists(module_, d);
  // The group numbers are entered again on every run of the dialog.
  for (int i = 0; i <= group_number_slots; ++i) module_.work.w8[i] = 0;
  entered_ = 0;
  return false;
}

// Each Rechnen (or Enter) does one pass: the number of groups, the variables, then one group
// number; the dialog ends once everything is in.
void GroupsDialog::compute(DialogWindow& d) {
  store_listing(module_, d);
  auto& whole = module_.remembered.whole;
  std::int16_t request = to_int16(read_number(d.text(IDC_GROUPS_COUNT, group_field_limit)));
  // Zero or less means all groups of the file.
  if (request <= 0) {
    request = 0;
    d.set_text(IDC_GROUPS_COUNT, all_groups_text);
  }
  whole[group_inputs::group_count] = request;
  if (request > 0) d.enable(IDC_GROUPS_COUNT, false);

  store_variables(module_, d);
  const std::int32_t g = to_int32(read_number(d.text(IDC_GROUPS_NUMBER, group_field_limit)));

  if (entered_ == 0 && g == 0 && request != 0) {
    d.focus(IDC_GROUPS_NUMBER);
    return;
  }
  if (!variables_chosen(module_, d)) return;
  if (request > 0 && (g < min_group_number || g > max_group_number) && entered_ < request) {
    reject(module_.host, d, IDC_GROUPS_NUMBER,
           join_lines({"Bitte eine Gruppennummer >0 und <=1000 angeben.", "", other_values_text}));
    return;
  }
  if (request == 0 && g > 0) {
    caution_box(module_.host, "Bitte zuerst die Anzahl Gruppen eingeben!");
    d.set_text(IDC_GROUPS_NUMBER, "");
    focus_and_select(d, IDC_GROUPS_COUNT);
    return;
  }
  if (request == 0) {
    for (int i = 1; i <= group_number_slots; ++i) module_.work.w8[i] = static_cast<std::int16_t>(i);
    d.end(dialog_computed);
    return;
  }
  if (entered_ < request && g > 0) {
    for (int i = 1; i <= entered_; ++i)
      if (module_.work.w8[i] == g) return reject(module_.host, d, IDC_GROUPS_NUMBER, different_groups_text);
    ++entered_;
    module_.work.w8[entered_] = static_cast<std::int16_t>(g);
    if (entered_ < request) {
      d.set_text(IDC_GROUPS_EDIT2_LABEL, number_text_trimmed(static_cast<float>(entered_ + 1)) + ". Gruppe :");
      d.set_text(IDC_GROUPS_NUMBER, "");
      d.focus(IDC_GROUPS_NUMBER);
    } else {
      d.set_text(IDC_GROUPS_EDIT2_LABEL, "Alle Gruppen eingegeben!");
      d.enable(IDC_GROUPS_NUMBER, false);
      d.set_text(IDC_GROUPS_NUMBER, "");
      d.focus(IDC_RECHNEN);
    }
    return;
  }
  d.end(dialog_computed);
}

// ---- two groups --------------------------------------------------------------------------------

bool TwoGroupsDialog::start(DialogWindow& d) {
  d.check(IDC_GROUPS_LISTING, module_.listing_check != 0);
  const auto& numbers = module_.work.w8;
  if (numbers[1] > 0) d.set_text(IDC_GROUPS_FIRST, number_text_trimmed(numbers[1]));
  if (numbers[2] > 0) d.set_text(IDC_GROUPS_SECOND, number_text_trimmed(numbers[2]));
  fill_lists(module_, d);
  return false;
}

bool TwoGroupsDialog::other(DialogWindow&, int id) {
  if (id != IDC_GROUPS_HELP) return false;
  open_help(module_.host);
  return true;
}

void TwoGroupsDialog::compute(DialogWindow& d) {
  store_listing(module_, d);
  auto& numbers = module_.work.w8;
  numbers[1] = to_int16(read_number(d.text(IDC_GROUPS_FIRST, group_field_limit)));
  numbers[2] = to_int16(read_number(d.text(IDC_GROUPS_SECOND, group_field_limit)));
  store_variables(module_, d);
  if (!variables_chosen(module_, d)) return;

  const auto outside = [](int g) { return g < min_group_number || g > max_group_number; };
  if (outside(numbers[1]) || outside(numbers[2])) {
    reject(module_.host, d, outside(numbers[1]) ? IDC_GROUPS_FIRST : IDC_GROUPS_SECOND,
           join_lines({"Bitte nur Gruppennummern >0 und <=1000 angeben.", "", other_values_text}));
    return;
  }
  if (numbers[1] == numbers[2]) {
    reject(module_.host, d, IDC_GROUPS_FIRST, different_groups_text);
    return;
  }
  d.end(dialog_computed);
}

}  // namespace veltrum
