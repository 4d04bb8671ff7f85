// The pair loader of letters W and V: the paired dialog, the report's input block, the pairs of
// the two chosen variables read from the active data file (optionally of one group), and the
// listing of the pairs with their differences.
#pragma once

#include "paired/pair_table.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// Runs the loading under the test error trap and returns n, the pairs read into `table`.  A
// cancelled dialog leaves the dialog result 0 (nothing is shown); a record whose first or second
// value is that column's missing-value code is left out; no pair at all stops the run with the
// message and the dialog again; a 1002nd pair overflows the table and ends in the trap.  The test
// goes on only when ready_to_compute(module).
int load_pairs(Module& module, const CatalogueEntry& test, PairTable& table);

}  // namespace veltrum
