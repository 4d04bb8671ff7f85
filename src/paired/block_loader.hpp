// The loader of the Friedman test: after the frame's opening (header, dialog FRIEDMAN, report),
// the input block, then the chosen target variables of every record (of the chosen group) into
// the block table, a record with a missing value dropped as a whole.
#pragma once

#include "paired/block_table.hpp"

namespace veltrum {

struct Module;

// Fills `table` (r rows of c columns); false when the loading ended the pass.  More rows than the
// table holds are an index error for the caller's trap.
bool load_blocks(Module& module, BlockTable& table);

}  // namespace veltrum
