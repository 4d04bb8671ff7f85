#include "frequency/fit_dialog.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "VELTRUM_R.h"
#include "frame/dialog.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/run_state.hpp"
#include "frequency/goodness_of_fit.hpp"

namespace veltrum {

namespace {

constexpr int field_limit = 11;

// A 101st category cannot be stored.  The user keeps the 100 categories typed so far and is told
// how to go on: the value stays in the field, selected, and Enter on empty fields computes.
constexpr std::string_view capacity_text =
    "Es sind höchstens 100 Kategorien möglich!\r\r"
    "Die 100 eingegebenen Kategorien bleiben erhalten.\r"
    "<Eingabetaste> bei leerem Feld beendet die Eingabe.";

// GLEICH and ANPASS: one category per "&Rechnen" (or Enter); empty fields end the entry.

}  // namespace

bool FitDialog::start(DialogWindow& d) {
  count_ = 0;
  focus_and_select(d, IDC_FIT_FREQUENCY);
  return true;
}

void FitDialog::compute(DialogWindow& d) {
  if (uniform_)
    take_frequency(d);
  else
    take_pair(d);
}

void FitDialog::take_frequency(DialogWindow& d) {
  const std::string text = d.text(IDC_FIT_FREQUENCY, field_limit);
  if (text.empty()) {
    d.end(dialog_computed);
    return;
  }
  // A number beyond the float range is no frequency: ignored like a refused pair in ANPASS, the
  // field keeps its text.
  const float f = to_float(read_number(text));
  if (!std::isfinite(f)) return;
  if (!room_left(d)) return;
  ++count_;
  module_.work.w2[count_] = f;
  after_store(d);
}

void FitDialog::take_pair(DialogWindow& d) {
  const std::string f_text = with_commas_as_points(d.text(IDC_FIT_FREQUENCY, field_limit));
  const std::string p_text = with_commas_as_points(d.text(IDC_FIT_PROBABILITY, field_limit));
  if (f_text.empty() && p_text.empty()) {
    d.end(dialog_computed);
    return;
  }
  if (f_text.empty() || p_text.empty()) {
    d.focus(f_text.empty() ? IDC_FIT_FREQUENCY : IDC_FIT_PROBABILITY);
    return;
  }
  const float f = to_float(read_number(f_text)), p = to_float(read_number(p_text));
  // Ignored without a message, the fields keep their text: a negative frequency, a probability
  // that is not positive, and numbers beyond the float range.
  if (!std::isfinite(f) || !std::isfinite(p) || f < 0 || p <= 0) return;
  if (!room_left(d)) return;
  ++count_;
  module_.work.w2[count_] = f;
  module_.work.w3[count_] = p;
  after_store(d);
}

bool FitDialog::room_left(DialogWindow& d) {
  if (count_ < fit_capacity) return true;
  attention_box(module_.host, capacity_text);
  focus_and_select(d, IDC_FIT_FREQUENCY);
  return false;
}

void FitDialog::after_store(DialogWindow& d) {
  const std::string next = number_text_trimmed(static_cast<float>(count_ + 1));
  d.set_text(IDC_FIT_FREQUENCY_LABEL, next + ". Häufigkeit :");
  d.set_text(IDC_FIT_FREQUENCY, "");
  if (!uniform_) {
    d.set_text(IDC_FIT_PROBABILITY_LABEL, next + ". Wahrscheinlichkeit :");
    d.set_text(IDC_FIT_PROBABILITY, "");
  }
  d.focus(IDC_FIT_FREQUENCY);
}

}  // namespace veltrum
