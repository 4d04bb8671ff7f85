// The pair loader of letters W and V: after the frame's opening (header, paired dialog, report),
// the report's input block, the pairs of the two chosen variables read from the active data file
// (optionally of one group), and the listing of the pairs with their differences.
#pragma once

#include "frame/test_run.hpp"
#include "paired/pair_dialog.hpp"
#include "paired/pair_table.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// Fills `table` with the pairs the dialog chose; false when the loading ended the pass.  A record
// whose first or second value is that column's missing-value code is left out; no pair at all
// stops the run with the message and the dialog again; a 1002nd pair overflows the table (an
// index error for the caller's trap).
bool load_pairs(Module& module, PairTable& table);

// A paired test: the frame's data-file run with the paired dialog and this loader;
// `analyse(const PairTable&)` gives the result (or nothing when it stopped the run) and
// `write(ReportFile&, result)` its report lines.
template <typename Analyse, typename Write>
void run_pair_test(Module& module, const CatalogueEntry& test, Analyse&& analyse, Write&& write) {
  PairTable table;
  PairDialog dialog(module);
  run_data_file_test(
      module, test, dialog, [&] { return load_pairs(module, table); },
      [&] { return analyse(static_cast<const PairTable&>(table)); }, write);
}

}  // namespace veltrum
