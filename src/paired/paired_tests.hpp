// The matched-pairs tests on two variables of the active data file, letters W (Wilcoxon matched
// pairs) and V (sign test): one dialog procedure and one loader, two templates.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// The command-line options of W and V.
inline constexpr LetterOption pair_options[] = {
    {"--vars", "VAR,VAR", "The two variables of a pair, first (\"vor\") and second (\"nach\")",
     OptionKind::variable_pair, IDC_PAIRS_FIRST, IDC_PAIRS_SECOND},
    {"--group-var", "VAR", "A group variable (\"Gruppenvariable\"); default <Keine>", OptionKind::variable,
     IDC_PAIRS_VARIABLE, 0, 1},
    {"--group", "N", "The group number taken (\"Welche Gruppe auswählen ?\")", OptionKind::number, IDC_PAIRS_GROUP},
    {"--list", "", "List the pairs read in the report", OptionKind::tick, IDC_PAIRS_LISTING},
};

// Test entries.
void wilcoxon_pairs_entry(Module& module, const CatalogueEntry& test);
void sign_test_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
