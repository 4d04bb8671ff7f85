// Letters F (Friedman test with multiple comparisons) and O (Cochran's Q test): their entries and
// command-line options.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// Command-line options: the choices of the dialog FRIEDMAN (F) and the entries of COCHRAN (O).
inline constexpr LetterOption friedman_options[] = {
    {"--targets", "VAR,VAR,...", "The target variables, at least two (\"Zielvariablen\", selected in the list)",
     OptionKind::variables, IDC_FRIEDMAN_TARGETS},
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\"; default <Keine>: every record)",
     OptionKind::variable, IDC_FRIEDMAN_GROUP_VARIABLE, 0, 1},
    {"--group", "N", "The group whose records are taken (a value of the group variable, 1 to 1000)", OptionKind::number,
     IDC_FRIEDMAN_GROUP},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_FRIEDMAN_LISTING},
};
inline constexpr LetterOption cochran_options[] = {
    {"--rows", "R", "The number of rows (blocks, \"Individuen\"), at most 1001", OptionKind::number, IDC_COCHRAN_ROWS},
    {"--cols", "C", "The number of columns (conditions, \"Behandlungen\"), 2 to 10", OptionKind::number,
     IDC_COCHRAN_COLUMNS},
    {"--table", "TABLE",
     "The 0/1 values row by row: rows separated by semicolons, values by commas (\"1,0,1;0,1,1\"); each is "
     "typed into the dialog followed by Enter, then one more Enter computes",
     OptionKind::table, IDC_COCHRAN_VALUE, 0, 0, IDC_COCHRAN_ROWS, IDC_COCHRAN_COLUMNS},
};

// Test entries.  F runs its loader and the computation under the test error trap; O computes the
// table typed into its dialog.
void friedman_entry(Module& module, const CatalogueEntry& test);
void cochran_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
