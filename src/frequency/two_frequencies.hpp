// Comparison of two frequencies (letter H): are two classes of one sample equally likely?
// A continuity-corrected chi-square test and the exact binomial test with success probability 1/2.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;
class ReportFile;

struct TwoFrequencies {
  std::int16_t n1 = 0, n2 = 0;
  std::string keyword;  // "Stichwort" as typed, empty when none
  float chi = 0;        // (|n1 - n2| - 1)^2 / n
  float p_chi = 0;      // P(chi-square(1) > chi)
  float p_one = 0;      // P(X <= min(n1, n2)), X ~ binomial(n, 1/2)
  float p_two = 0;      // 2 p_one, at most 1

  // Chi-square (approximate), the binomial test one- and two-sided (exact).
  std::vector<PValue> p_values() const;
};

// n1 >= 0, n2 >= 0, n1 + n2 > 0 (the dialog guarantees it).
TwoFrequencies compare_frequencies(std::int16_t n1, std::int16_t n2);

// Report lines after the header.
void write_two_frequencies(ReportFile& report, const TwoFrequencies& result);

// Command-line options: what is typed into the dialog HAUFIG.
inline constexpr LetterOption two_frequencies_options[] = {
    {"--keyword", "TEXT", "Keyword (\"Stichwort zum Test\")", OptionKind::text, IDC_HAUFIG_KEYWORD},
    {"--n1", "TEXT", "First absolute frequency, typed as given", OptionKind::text, IDC_HAUFIG_N1},
    {"--n2", "TEXT", "Second absolute frequency, typed as given", OptionKind::text, IDC_HAUFIG_N2},
};

// Test entry: dialog HAUFIG, computation, report.
void two_frequencies_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
