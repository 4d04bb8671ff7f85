// The group-sample loader of the independent-sample tests: reads the header of the active data
// file, runs the group dialog, opens the report with the input block, and fills the sample table
// with the chosen groups' values of the target variable.
#pragma once

#include "independent/sample_table.hpp"

namespace veltrum {

struct Module;
struct CatalogueEntry;

// How the groups are chosen: the k-group dialog (template KRUSKAL: a number of groups, then one
// group number per Enter, or all groups) or a two-group dialog (UTEST, MEDIAN, KOLMO).
enum class GroupChoice { k_groups, two_groups };

// Runs the whole loader under the test error trap and returns k, the number of groups loaded
// (also table.k).  The dialog is the test's template (its catalogue entry), the report title
// its title.  The caller goes on only when ready_to_compute(module) (frame/run_state.hpp).
//
// Group map (module.work.w7, g = 0..1001): the group index of group value g, 0 when g is not
// selected.  Group numbers (module.work.w8 and table.group_number, 1..k): the value each group
// stands for, in entry order, or in order of first appearance when all groups are read.
int load_group_samples(Module& module, const CatalogueEntry& test, GroupChoice choice, SampleTable& table);

}  // namespace veltrum
