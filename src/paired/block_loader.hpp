// The loader of the Friedman test: the dialog FRIEDMAN, the report with its input block, then the
// chosen target variables of every record (of the chosen group) into the block table, a record
// with a missing value dropped as a whole.
#pragma once

#include "paired/block_table.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// The report's title, whatever the catalogue calls the test.
inline constexpr std::string_view friedman_report_title = "Friedman-Test mit Multiplen Vergleichen.";

// Fills `table` (r rows of c columns).  A cancelled dialog leaves the dialog result 0; a loader
// that gives up stops the run (frame/run_state.hpp).  Runs under the test error trap: more rows
// than the table holds end in "Indexüberschreitung, vgl. Infos/Restriktionen!".
void load_blocks(Module& module, const CatalogueEntry& test, BlockTable& table);

}  // namespace veltrum
