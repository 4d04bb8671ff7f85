// Letter C: the loader of the two groups of a cross-over trial, the test entry and the
// command-line options.
#pragma once

#include "VELTRUM_R.h"
#include "frame/letter_options.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;
struct CrossOverGroup;

// The report title, whatever the catalogue calls the test.
inline constexpr std::string_view cross_over_report_title = "Cross-Over: Nicht-parametrische Analyse nach Koch.";

// Command-line options: the choices of the dialog CROSS.
inline constexpr LetterOption cross_over_options[] = {
    {"--group-var", "VAR", "The group variable (\"Gruppenvariable\")", OptionKind::variable, IDC_CROSS_GROUP_VARIABLE},
    {"--periods", "VAR,VAR", "The variables of period 1 and period 2 (\"Periode 1\", \"Periode 2\")",
     OptionKind::variable_pair, IDC_CROSS_PERIOD1, IDC_CROSS_PERIOD2},
    {"--groups", "LIST", "The two group numbers (\"Gruppe 1\", \"Gruppe 2\")", OptionKind::fields, IDC_CROSS_GROUP1,
     IDC_CROSS_GROUP2},
    {"--list", "", "List the values read in the report", OptionKind::tick, IDC_CROSS_LISTING},
};

// Reads the header, runs the dialog, opens the report, swaps the group numbers so that group 1 is
// the smaller one, writes the input block, reads period 1 and period 2 of both groups (a record
// with a missing value in either is dropped), stops with a message when a group is empty, and
// lists the values when asked.  Runs without a trap of its own: the caller's catches its errors
// (a group of more than 1001 units is an index error).
void load_cross_over(Module& module, const CatalogueEntry& test, CrossOverGroup& first, CrossOverGroup& second);

// Test entry: the loader, the check that each group has at least 2 units, the three U tests and the
// report, all under the test error trap.
void cross_over_entry(Module& module, const CatalogueEntry& test);

}  // namespace veltrum
