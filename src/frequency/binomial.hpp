// Binomial test of a hypothetical success probability (letter B): exact one- and two-sided
// p-values for H0: theta = theta0 and confidence intervals for theta at four fixed levels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "VELTRUM_R.h"
#include "frame/confidence_levels.hpp"
#include "frame/letter_options.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;
class ReportFile;

// Counts from which the intervals come from the normal approximation instead of the F
// distribution: k >= 16000 or n - k >= 16000.
inline constexpr std::int32_t binomial_exact_limit = 16000;

struct BinomialInterval {
  float level = 0;
  float lower = 0, upper = 0;
  bool one_sided = false;    // lower == 0 or upper == 1 exactly
  bool approximate = false;  // from the normal approximation
};

struct BinomialTest {
  std::int32_t n = 0, k = 0;  // trials and successes
  float theta0 = 0;           // the hypothetical value
  std::string keyword;        // "Stichwort" as typed, empty when none
  float ratio = 0;            // k / n
  float p_low = 0;            // P(X <= k), against theta < theta0
  float p_high = 0;           // P(X >= k), against theta > theta0
  float p_two = 0;            // min(1, 2 p_low, 2 p_high)
  std::array<BinomialInterval, 4> intervals{};

  // Both one-sided tests and the two-sided one, all exact.
  std::vector<PValue> p_values() const;
};

// The interval at one level P, from q = (1 + P) / 2 on each side:
// - k and n - k below 16000: the exact (Clopper-Pearson) limits by F quantiles; for k = 0 or
//   k = n the one-sided limit at level P itself, the other limit 0 or 1;
// - otherwise the normal approximation, whose limits are not clamped to [0, 1]; at k = 0 or
//   k = n it has no real value, and the exact one-sided limits 1 - (1 - P)^(1/n) and
//   (1 - P)^(1/n), which need no F quantile, are given instead.
// n > 0 and 0 <= k <= n (the dialog guarantees it).
BinomialInterval binomial_interval(std::int32_t n, std::int32_t k, float level);

BinomialTest binomial_test(std::int32_t n, std::int32_t k, float theta0);

// Report lines after the header.
void write_binomial(ReportFile& report, const BinomialTest& result);

// Command-line options: what is typed into the dialog BINOM.
inline constexpr LetterOption binomial_options[] = {
    {"--keyword", "TEXT", "Keyword (\"Stichwort\")", OptionKind::text, IDC_BINOM_KEYWORD},
    {"--n", "TEXT", "Number of trials n, typed as given (12,0 reads as 12)", OptionKind::text, IDC_BINOM_N},
    {"--k", "TEXT", "Number of successes k, typed as given", OptionKind::text, IDC_BINOM_K},
    {"--theta", "TEXT", "Hypothetical theta, typed as given (a decimal point: 0,5 reads as 0)", OptionKind::text,
     IDC_BINOM_THETA},
};

// Test entry: dialog BINOM, computation, report.
void binomial_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
