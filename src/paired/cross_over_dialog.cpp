#include "paired/cross_over_dialog.hpp"

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/records.hpp"

namespace veltrum {

std::string cross_over_help_text() {
  return join_lines({"Im Cross-Over-Versuchsplan erhält die erste von zwei Gruppen",
                     "in Phase/Periode 1 Therapie A, die zweite Gruppe Therapie B.",
                     "In Phase/Periode 2 erhält die erste Gruppe Therapie B, die",
                     "zweite Gruppe entsprechend A. In der Eingabedatei stehen also",
                     "unter Variable 'Periode 1' für Gruppe 1 die Meßwerte für die",
                     "Bedingung A, für Gruppe 2 die Meßwerte für Bedingung B! Ent-",
                     "sprechendes gilt für die Variable 'Periode 2'.", "",
                     "Die hier verwendete Konvention erlaubt also ohne Aufwand",
                     "eine Auswertung der Phase 1 als Parallelgruppenversuch, falls",
                     "post hoc die Voraussetzungen für die Cross-Over-Analyse nicht", "erfüllt sind!"});
}

bool CrossOverDialog::start(DialogWindow& d) {
  const auto& whole = module_.remembered.whole;
  d.check(IDC_CROSS_LISTING, module_.listing);
  if (whole[cross_inputs::group1] > 0) d.set_text(IDC_CROSS_GROUP1, number_text_trimmed(whole[cross_inputs::group1]));
  if (whole[cross_inputs::group2] > 0) d.set_text(IDC_CROSS_GROUP2, number_text_trimmed(whole[cross_inputs::group2]));
  fill_variable_name_lists(module_.data, d,
                           {{IDC_CROSS_GROUP_VARIABLE, whole[cross_inputs::group_variable]},
                            {IDC_CROSS_PERIOD1, whole[cross_inputs::period1]},
                            {IDC_CROSS_PERIOD2, whole[cross_inputs::period2]}});
  return false;
}

void CrossOverDialog::compute(DialogWindow& d) {
  auto& whole = module_.remembered.whole;
  module_.listing = d.checked(IDC_CROSS_LISTING);
  module_.listing_check = module_.listing ? 1 : 0;
  whole[cross_inputs::group1] =
      read_bounded_number(d, IDC_CROSS_GROUP1, cross_group_field_limit, beyond_groups).value_or(0);
  whole[cross_inputs::group2] =
      read_bounded_number(d, IDC_CROSS_GROUP2, cross_group_field_limit, beyond_groups).value_or(0);
  whole[cross_inputs::group_variable] = static_cast<std::int16_t>(d.selection(IDC_CROSS_GROUP_VARIABLE) + 1);
  whole[cross_inputs::period1] = static_cast<std::int16_t>(d.selection(IDC_CROSS_PERIOD1) + 1);
  whole[cross_inputs::period2] = static_cast<std::int16_t>(d.selection(IDC_CROSS_PERIOD2) + 1);

  Host& host = module_.host;
  if (whole[cross_inputs::group_variable] == 0) {
    caution_box(host, no_group_variable_text);
  } else if (whole[cross_inputs::period1] == 0 || whole[cross_inputs::period2] == 0) {
    caution_box(host, "Bitte beide Perioden eingeben!");
  } else if (whole[cross_inputs::group1] < 1 || whole[cross_inputs::group2] < 1) {
    caution_box(host, join_lines({"Bitte nur Gruppennummern größer 0 angeben.", "", other_values_text}));
  } else if (whole[cross_inputs::group1] == whole[cross_inputs::group2]) {
    caution_box(host, different_groups_text);
  } else {
    d.end(dialog_computed);
  }
}

bool CrossOverDialog::other(DialogWindow&, int id) {
  if (id != IDC_CROSS_HELP) return false;
  module_.host.message_box(cross_over_help_text(), style::information, caption::crossover_help);
  return true;
}

}  // namespace veltrum
