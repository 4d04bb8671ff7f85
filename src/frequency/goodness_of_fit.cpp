// Goodness of fit and uniform distribution: Pearson's chi-square statistic
//   Q = sum (f(i) - e(i))^2 / e(i),  k - 1 degrees of freedom,
// with e(i) = F pi(i) (letter A) or F / k (letter G), F the sample size.  Each category's
// contribution is also shown with its own one-degree-of-freedom p-value.
//
// The dialogs take one category per Enter; the frequencies go to work array 2 and the
// probabilities to work array 3 (indices 1..100), so the array's own range is the capacity.
#include "frequency/goodness_of_fit.hpp"

#include <cmath>
#include <optional>

#include "frame/checked_array.hpp"
#include "frame/distribution.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "frame/test_run.hpp"
#include "frequency/fit_dialog.hpp"

namespace veltrum {

namespace {

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
  const bool uniform = r.uniform = probabilities.empty();
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

std::vector<PValue> GoodnessOfFit::p_values() const { return {{"Chi2", p, Obtained::approximate}}; }

void write_fit_listing(ReportFile& r, const GoodnessOfFit& fit) {
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

void write_fit_result(ReportFile& r, const GoodnessOfFit& fit) {
  r.line();
  if (!fit.computable()) {
    r.line("Keine Berechnung.");
    return;
  }
  if (fit.uniform) {
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

void write_goodness_of_fit(ReportFile& report, const GoodnessOfFit& fit) {
  write_fit_listing(report, fit);
  write_fit_result(report, fit);
}

namespace {

// The checks come after the listing: a failed one shows the listing in the report file, no
// report, and the message.  Nothing when the fit passes them.
bool fit_refused(Module& module, const GoodnessOfFit& fit) {
  constexpr std::string_view too_small = "Der Stichprobenumfang ist zu klein !";
  clear_stop(module);
  const auto refuse = [&](Rerun rerun, std::string_view text) {
    write_fit_listing(module.report, fit);
    stop(module, rerun, text);
    return true;
  };
  // Too small: the dialog again, empty.
  if (fit.too_few_categories) return refuse(Rerun::yes, too_small);
  // Fractional or negative frequencies: the call ends.
  if (fit.first_invalid) return refuse(Rerun::no, "Bitte keine negativen und keine reellen Zahlen verwenden!");
  // All frequencies 0: there is no sample to test, which is a sample too small as well.
  if (fit.empty_sample) return refuse(Rerun::yes, too_small);
  return false;
}

void fit_test(Module& module, const CatalogueEntry& test, bool uniform) {
  FitDialog dialog(module, uniform);
  run_test(
      module, test, dialog,
      [&]() -> std::optional<GoodnessOfFit> {
        const int k = dialog.count();
        std::vector<float> observed, probabilities;
        for (int i = 1; i <= k; ++i) {
          observed.push_back(module.work.w2[i]);
          if (!uniform) probabilities.push_back(module.work.w3[i]);
        }
        GoodnessOfFit fit = fit_statistics(observed, probabilities);
        fit.uniform = uniform;
        // The probabilities give way to the expected frequencies, as the listing shows them.
        if (!uniform)
          for (int i = 1; i <= k; ++i) module.work.w3[i] = fit.categories[i - 1].expected;
        if (fit_refused(module, fit)) return std::nullopt;
        return fit;
      },
      write_goodness_of_fit, Trap::test);
}

}  // namespace

void goodness_of_fit_entry(Module& module, const CatalogueEntry& test) { fit_test(module, test, false); }

void uniform_distribution_entry(Module& module, const CatalogueEntry& test) { fit_test(module, test, true); }

}  // namespace veltrum
