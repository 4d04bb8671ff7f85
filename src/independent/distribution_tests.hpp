// Test entries of the median test (letter E) and the two-sample Kolmogorov-Smirnov test (letter
// S): the two-group dialog and loader, the check of the group sizes, the statistics and the
// report lines.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct SampleTable;
struct CatalogueEntry;

// Both groups need at least 2 values; otherwise the message "Der Stichprobenumfang mindestens
// einer Gruppe ist zu klein!" stops the test with the re-run request, and the result is false.
bool two_groups_large_enough(Module& module, const SampleTable& table);

// Command-line options of E and S: the choices of their two-group dialogs MEDIAN and KOLMO.
inline constexpr LetterOption distribution_test_options[] = {
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\")", OptionKind::variable, IDC_GROUPS_VARIABLE},
    {"--target", "VAR", "The variable to be tested (\"Welche Variable testen ?\")", OptionKind::variable,
     IDC_GROUPS_TARGET},
    {"--groups", "LIST", "The two group numbers", OptionKind::fields, IDC_GROUPS_FIRST, IDC_GROUPS_SECOND},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_GROUPS_LISTING},
};

// Letter E (template MEDIAN) and letter S (template KOLMO); everything runs under the test error
// trap.
void median_test_entry(Module& module, const CatalogueEntry& test);
void kolmogorov_smirnov_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
