// The rank tests of independent groups, letters K and U: one routine that loads the groups,
// checks them, ranks the pooled values and writes the Wilcoxon-Mann-Whitney report for exactly
// two groups or the Kruskal-Wallis report for more.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct SampleTable;
struct CatalogueEntry;

// What follows the loading: the two checks (at least 2 groups, at least 2 values in every group;
// either ends the test with a message, the cancel flag and the re-run request), the ranking,
// the statistics and the report lines.  Returns false when a check ended the test.
bool analyse_groups(Module& module, SampleTable& table);

// Command-line options: the choices of the group dialogs KRUSKAL (K) and UTEST (U).
inline constexpr LetterOption kruskal_wallis_options[] = {
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\")", OptionKind::variable, IDC_GROUPS_VARIABLE},
    {"--target", "VAR", "The variable to be tested (\"Welche Variable testen ?\")", OptionKind::variable,
     IDC_GROUPS_TARGET},
    {"--groups", "LIST|all",
     "The group numbers, or \"all\" for every group of the file (typed as 0 groups; also the default)",
     OptionKind::counted_entries, IDC_GROUPS_NUMBER, IDC_GROUPS_COUNT},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_GROUPS_LISTING},
};
inline constexpr LetterOption mann_whitney_options[] = {
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\")", OptionKind::variable, IDC_GROUPS_VARIABLE},
    {"--target", "VAR", "The variable to be tested (\"Welche Variable testen ?\")", OptionKind::variable,
     IDC_GROUPS_TARGET},
    {"--groups", "LIST", "The two group numbers", OptionKind::fields, IDC_GROUPS_FIRST, IDC_GROUPS_SECOND},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_GROUPS_LISTING},
};

// Test entries: K chooses its groups in the k-group dialog, U in the two-group dialog; the
// number of groups loaded chooses the report.  Everything runs under the test error trap.
void kruskal_wallis_entry(Module& module, const CatalogueEntry& test);
void mann_whitney_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
