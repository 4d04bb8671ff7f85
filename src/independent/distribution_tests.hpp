// Test entries of the median test (letter E) and the two-sample Kolmogorov-Smirnov test (letter
// S): the two-group dialog and loader, the check of the group sizes, the statistics and the
// report lines.
#pragma once

#include <span>

#include "frame/letter_options.hpp"
#include "independent/rank_tests.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// Command-line options of E and S: the choices of the two-group dialog, as for U.
inline constexpr std::span<const LetterOption> distribution_test_options = mann_whitney_options;

// Letter E (template MEDIAN) and letter S (template KOLMO).
void median_test_entry(Module& module, const CatalogueEntry& test);
void kolmogorov_smirnov_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
