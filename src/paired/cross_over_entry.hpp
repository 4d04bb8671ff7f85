// Letter C: the test entry and the command-line options.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// Command-line options: the choices of the dialog CROSS.
inline constexpr LetterOption cross_over_options[] = {
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\")", OptionKind::variable, IDC_CROSS_GROUP_VARIABLE},
    {"--periods", "VAR,VAR", "The variables of period 1 and period 2 (\"Periode 1\", \"Periode 2\")",
     OptionKind::variable_pair, IDC_CROSS_PERIOD1, IDC_CROSS_PERIOD2},
    {"--groups", "LIST", "The two group numbers (\"Gruppe 1\", \"Gruppe 2\")", OptionKind::fields, IDC_CROSS_GROUP1,
     IDC_CROSS_GROUP2},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_CROSS_LISTING},
};

// Test entry: the loader, the check that each group has at least 2 units, the three U tests and the
// report.
void cross_over_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
