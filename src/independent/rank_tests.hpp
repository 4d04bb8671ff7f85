// The rank tests of independent groups, letters K and U: one routine that loads the groups,
// checks them, ranks the pooled values and gives the Wilcoxon-Mann-Whitney test for exactly
// two groups or the Kruskal-Wallis test for more.
#pragma once

#include <optional>
#include <variant>

#include "VELTRUM_R.h"
#include "frame/busy.hpp"
#include "frame/letter_options.hpp"
#include "independent/kruskal_wallis.hpp"
#include "independent/mann_whitney.hpp"

namespace veltrum {

struct Module;
struct SampleTable;
struct CatalogueEntry;
class ReportFile;

// The result of K and U: the U test for two groups, Kruskal-Wallis for more.
using RankTest = std::variant<UTest, KruskalWallis>;

// What follows the loading: the group-size check (at least 2 groups of at least 2 values; else
// the message, the cancel flag and the re-run request, and no result), the ranking and the
// statistics.  `busy` is told during the long steps of the U test.
std::optional<RankTest> analyse_groups(Module& module, SampleTable& table, const BusySignal& busy = {});

// The report lines of either test.
void write_rank_test(ReportFile& report, const RankTest& result);

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
// number of groups loaded chooses the test.
void kruskal_wallis_entry(Module& module, const CatalogueEntry& test);
void mann_whitney_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
