// The module's fixed capacities: how many values its lists and tables hold.
#pragma once

namespace veltrum {

// Values typed into a dialog one by one (categories), groups of a sample table; work arrays 2 and
// 3 (indices 0..100).
inline constexpr int list_capacity = 100;
// Rows of a sample, pair or block table with up to 10 columns; work arrays 4 to 8 (0..1001).
inline constexpr int table_capacity = 1001;
// Indices of the data-file arrays and of work array 9 (0..201).
inline constexpr int variable_capacity = 201;

}  // namespace veltrum
