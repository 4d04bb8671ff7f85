// Goodness of fit and uniform distribution: Pearson's chi-square statistic
//   Q = sum (f(i) - e(i))^2 / e(i),  k - 1 degrees of freedom,
// with e(i) = F pi(i) (letter A) or F / k (letter G), F the sample size.  Each category's
// contribution is also shown with its own one-degree-of-freedom p-value.
//
// The dialogs take one category per Enter; the frequencies go to work array 2 and the
// probabilities to work array 3 (indices 1..100), so the array's own range is the capacity.
#include "frequency/goodness_of_fit.hpp"

#include <cmath>

#include "VELTRUM_R.h"
#include "frame/checked_array.hpp"
#include "frame/dialog.hpp"
#include "frame/distribution.hpp"
#include "frame/error_trap.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/test_dialog.hpp"
#include "frame/test_run.hpp"

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
class FitDialog : public TestDialog {
 public:
  FitDialog(Module& module, bool uniform) : TestDialog(module), uniform_(uniform) {}

  int count() const { return count_; }

 private:
  bool start(DialogWindow& d) override {
    count_ = 0;
    focus_and_select(d, IDC_FIT_FREQUENCY);
    return true;
  }

  void compute(DialogWindow& d) override {
    if (uniform_)
      take_frequency(d);
    else
      take_pair(d);
  }

  // GLEICH: the leading number of the text as typed (no decimal comma), any value.
  void take_frequency(DialogWindow& d) {
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

  // ANPASS: a frequency and its probability, a decimal comma read as a point.
  void take_pair(DialogWindow& d) {
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

  bool room_left(DialogWindow& d) {
    if (count_ < fit_capacity) return true;
    attention_box(module_.host, capacity_text);
    focus_and_select(d, IDC_FIT_FREQUENCY);
    return false;
  }

  void after_store(DialogWindow& d) {
    const std::string next = number_text_trimmed(static_cast<float>(count_ + 1));
    d.set_text(IDC_FIT_FREQUENCY_LABEL, next + ". Häufigkeit :");
    d.set_text(IDC_FIT_FREQUENCY, "");
    if (!uniform_) {
      d.set_text(IDC_FIT_PROBABILITY_LABEL, next + ". Wahrscheinlichkeit :");
      d.set_text(IDC_FIT_PROBABILITY, "");
    }
    d.focus(IDC_FIT_FREQUENCY);
  }

  bool uniform_;
  int count_ = 0;
};

float upper_chi(int df, float x) { return FNChiUpper(df, x); }

// (f - e)^2 / e; a category without expected frequency (only when F = 0, a sample the checks
// refuse) contributes nothing.
float contribution(float f, float e) {
  if (e == 0) return 0;
  const real d = static_cast<real>(f) - e;
  return to_float(d * d / e);
}

}  // namespace

bool GoodnessOfFit::probability_warning() const { return std::fabs(1.0L - probability_sum) > 0.0001L; }

bool GoodnessOfFit::computable() const { return std::fabs(total - expected_total) <= 0.1L; }

GoodnessOfFit fit_statistics(std::span<const float> observed, std::span<const float> probabilities) {
  GoodnessOfFit r;
  const bool uniform = probabilities.empty();
  const int k = static_cast<int>(observed.size());

  for (int i = 0; i < k; ++i) r.total = to_float(static_cast<real>(r.total) + observed[i]);
  if (uniform) {
    r.probability_sum = 1;
  } else {
    for (int i = 0; i < k; ++i) r.probability_sum = to_float(static_cast<real>(r.probability_sum) + probabilities[i]);
  }

  const float F = r.total;
  r.categories.resize(static_cast<std::size_t>(k));
  for (int i = 0; i < k; ++i) {
    FitCategory& c = r.categories[i];
    c.observed = observed[i];
    c.expected = uniform ? to_float(static_cast<real>(F) / k) : to_float(static_cast<real>(F) * probabilities[i]);
    if (F != 0) {
      c.relative = to_float(static_cast<real>(c.observed) / F);
      c.probability = to_float(static_cast<real>(c.expected) / F);
    }
    c.chi = contribution(c.observed, c.expected);
    c.p = upper_chi(1, c.chi);
    r.q = to_float(static_cast<real>(r.q) + c.chi);
  }
  r.p_listing = upper_chi(k - 1, r.q);

  r.too_few_categories = k < 2;
  for (int i = 0; i < k; ++i) {
    if (observed[i] < 0 || std::floor(observed[i]) != observed[i]) {
      r.first_invalid = i + 1;
      break;
    }
  }
  r.empty_sample = F == 0;

  // The final statistic: the expected values taken again into a list of their own.
  CheckedArray<float> expected(1, 200);
  for (int i = 1; i <= k; ++i) {
    expected[i] = uniform ? to_float(static_cast<real>(F) / k) : r.categories[i - 1].expected;
    r.expected_total += expected[i];
    r.chi = to_float(static_cast<real>(r.chi) + contribution(observed[i - 1], expected[i]));
  }
  r.df = k - 1;
  r.p = upper_chi(r.df, r.chi);
  return r;
}

void write_fit_listing(Module& module, const GoodnessOfFit& fit) {
  ReportFile& r = module.report;
  const std::string rule(79, '-');
  r.line("Eingelesene Daten:");
  r.line();
  r.line("Kategorie  Beobachtet  ?  Erwartet   RelHäuf.   Wahrsch.   Chi²(df=1)   p(Chi²)");
  r.line(rule);
  int i = 0;
  for (const FitCategory& c : fit.categories) {
    r.picture("#########", static_cast<float>(++i));
    r.picture("  ##########", c.observed);
    r.write(c.observed < c.expected ? "  < " : c.observed > c.expected ? "  > " : "  = ");
    r.picture("#######.#", c.expected);
    r.picture("    ##.####", c.relative);
    r.picture("    ##.####", c.probability);
    r.picture(" #########.##", c.chi);
    r.picture(" ##.######", c.p);
    r.end_line();
  }
  r.line(rule);
  const float F = fit.total, S = fit.probability_sum;
  r.multi_field("      Sum  ##########     ######.#    ##.####    ##.####   #######.## ##.######",
                {F, to_float(static_cast<real>(F) * S), 1.0f, S, fit.q, fit.p_listing});
  r.line();
  if (fit.probability_warning()) {
    r.write("VORSICHT: ");
    r.line("Die Summe der eingegebenen Wahrscheinlichkeiten ist nicht 1!");
    r.line();
  }
}

void write_fit_result(Module& module, const GoodnessOfFit& fit, bool uniform) {
  ReportFile& r = module.report;
  r.line();
  if (!fit.computable()) {
    r.line("Keine Berechnung.");
    return;
  }
  if (uniform) {
    r.picture("Erwartete Häufigkeit =######.##", to_float(static_cast<real>(fit.total) / (fit.df + 1)));
    r.end_line();
  }
  r.picture("Prüfgröße:      Chi² =######.##", fit.chi);
  r.end_line();
  r.picture("mit Freiheitsgrad fg =#########", static_cast<float>(fit.df));
  r.end_line();
  r.picture("und                p =##.######", fit.p);
  r.end_line();
  r.line();
  r.line();
  r.line("Literatur: Conover, W.J.: Practical Nonparametric Statistics (1999), Kap. 4.5.");
}

namespace {

void fit_test(Module& module, const CatalogueEntry& test, bool uniform) {
  FitDialog dialog(module, uniform);
  run_test(
      module, test, dialog,
      [&] {
        const int k = dialog.count();
        std::vector<float> observed, probabilities;
        for (int i = 1; i <= k; ++i) {
          observed.push_back(module.work.w2[i]);
          if (!uniform) probabilities.push_back(module.work.w3[i]);
        }
        const GoodnessOfFit fit = fit_statistics(observed, probabilities);
        // The probabilities give way to the expected frequencies, as the listing shows them.
        if (!uniform)
          for (int i = 1; i <= k; ++i) module.work.w3[i] = fit.categories[i - 1].expected;

        write_fit_listing(module, fit);

        // The checks come after the listing; a failed one shows no report.
        module.stopped = false;
        constexpr std::string_view too_small = "Der Stichprobenumfang ist zu klein !";
        // Too small: the dialog again, empty.
        if (fit.too_few_categories) return stop(module, Rerun::yes, too_small);
        // Fractional or negative frequencies: the call ends.
        if (fit.first_invalid)
          return stop(module, Rerun::no, "Bitte keine negativen und keine reellen Zahlen verwenden!");
        // All frequencies 0: there is no sample to test, which is a sample too small as well.
        if (fit.empty_sample) return stop(module, Rerun::yes, too_small);
        write_fit_result(module, fit, uniform);
      },
      Trap::test);
}

}  // namespace

void goodness_of_fit_entry(Module& module, const CatalogueEntry& test) { fit_test(module, test, false); }

void uniform_distribution_entry(Module& module, const CatalogueEntry& test) { fit_test(module, test, true); }

}  // namespace veltrum
