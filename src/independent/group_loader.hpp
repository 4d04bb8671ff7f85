// The group-sample loader of the independent-sample tests: reads the header of the active data
// file, runs the group dialog, opens the report with the input block, and fills the sample table
// with the chosen groups' values of the target variable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "independent/sample_table.hpp"

namespace veltrum {

struct Module;

// Runs the whole loader under the test error trap and returns k, the number of groups loaded
// (also table.k).  "KRUSKAL" selects the k-group dialog, any other template name the two-group
// dialog with that template.  The caller goes on only when module.cancel_flag is not "J" and
// module.dialog_result is not 0.
//
// Group map (module.work.w7, g = 0..1001): the group index of group value g, 0 when g is not
// selected.  Group numbers (module.work.w8 and table.group_number, 1..k): the value each group
// stands for, in entry order, or in order of first appearance when all groups are read.
float load_group_samples(Module& module, const std::string& title, std::string_view template_name, SampleTable& table);

// The range message for a group value outside 1..1000.
std::string group_range_message(std::int16_t value);

}  // namespace veltrum
