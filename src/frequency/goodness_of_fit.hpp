// Chi-square goodness of fit (letter A) and the chi-square test of a uniform distribution
// (letter G).  Both take observed absolute frequencies typed category by category; A also takes
// the probability of each category under the hypothesis, G gives every category the same
// expected frequency.  One computation and one report serve both.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "VELTRUM_R.h"
#include "frame/capacities.hpp"
#include "frame/letter_options.hpp"
#include "frame/numbers.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;
class ReportFile;

// The most categories the dialog stores (the frequency and probability lists hold 100).
inline constexpr int fit_capacity = list_capacity;

// One row of the listing.
struct FitCategory {
  float observed = 0;     // f(i)
  float expected = 0;     // e(i) = F pi(i), or F / k for the uniform distribution
  float relative = 0;     // f(i) / F
  float probability = 0;  // e(i) / F
  float chi = 0;          // c(i) = (f(i) - e(i))^2 / e(i), one degree of freedom
  float p = 0;            // P(chi-square(1) > c(i))
};

struct GoodnessOfFit {
  bool uniform = false;  // G: expected frequencies F / k
  std::vector<FitCategory> categories;
  float total = 0;            // F = sum f(i)
  float probability_sum = 0;  // S = sum pi(i); 1 for the uniform distribution
  float q = 0;                // Q = sum c(i)
  float p_listing = 0;        // P(chi-square(k - 1) > Q)

  // Checks made after the listing, in this order.
  bool too_few_categories = false;   // k < 2
  std::optional<int> first_invalid;  // the first category (from 1) with f < 0 or f fractional
  bool empty_sample = false;         // F = 0: no observations to test

  // The final statistic, from the expected values taken again.
  real expected_total = 0;  // E = sum e(i), held as every sum between stores
  float chi = 0;            // the same value as Q
  int df = 0;               // k - 1
  float p = 0;              // P(chi-square(df) > chi)

  // |1 - S| > 0.0001: the probabilities typed do not sum to 1.
  bool probability_warning() const;
  // |F - E| <= 0.1: the expected frequencies account for the sample and the test is given.
  bool computable() const;
  // The final statistic's p (each category's own p is in its row).
  std::vector<PValue> p_values() const;
};

// observed: f(1..k); probabilities: pi(1..k) for the goodness of fit, empty for the uniform
// distribution.  Both spans have k entries in the first case.
GoodnessOfFit fit_statistics(std::span<const float> observed, std::span<const float> probabilities);

// The report lines after the header: the listing (with the warning about the probabilities'
// sum), and, after the checks, the result lines or "Keine Berechnung."; both in that order.
void write_fit_listing(ReportFile& report, const GoodnessOfFit& fit);
void write_fit_result(ReportFile& report, const GoodnessOfFit& fit);
void write_goodness_of_fit(ReportFile& report, const GoodnessOfFit& fit);

// Command-line options: one category per Enter in the dialogs ANPASS and GLEICH.
inline constexpr LetterOption goodness_of_fit_options[] = {
    {"--freq", "LIST", "Observed absolute frequencies, one per category", OptionKind::entries, IDC_FIT_FREQUENCY},
    {"--prob", "LIST", "Probabilities of the categories under the hypothesis", OptionKind::entries,
     IDC_FIT_PROBABILITY},
};
inline constexpr LetterOption uniform_distribution_options[] = {
    {"--freq", "LIST", "Observed absolute frequencies, one per category", OptionKind::entries, IDC_FIT_FREQUENCY},
};

// Test entries of A (dialog ANPASS: frequencies and probabilities) and G (dialog GLEICH:
// frequencies only); computation and report run under the test error trap.
void goodness_of_fit_entry(Module& module, const CatalogueEntry& test);
void uniform_distribution_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
