// The loader of letter C: after the frame's opening (header, dialog CROSS, report), the group
// numbers swapped so that group 1 is the smaller one, the input block, period 1 and period 2 of
// both groups (a record with a missing value in either is dropped), and the listing when asked.
#pragma once

#include "frame/result.hpp"
#include "paired/cross_over.hpp"

namespace veltrum {

struct Module;

// Both groups of a cross-over trial as loaded, and what was read.
struct CrossOverTrial {
  CrossOverGroup first, second;
  DataUsed used;
};

// Fills `trial`; false when the loading ended the pass (an empty group: the message, the dialog
// again).  A group of more than 1001 units is an index error for the caller's trap.
bool load_cross_over(Module& module, CrossOverTrial& trial);

}  // namespace veltrum
