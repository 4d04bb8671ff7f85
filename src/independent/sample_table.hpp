// The sample table of the independent-sample tests: up to 100 groups of one variable, filled by
// the group-sample loader and read by the tests.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/capacities.hpp"
#include "frame/checked_array.hpp"
#include "frame/numbers.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct SampleTable {
  static constexpr int max_groups = list_capacity;
  static constexpr int default_capacity = table_capacity;  // values a group holds with up to 10 groups

  int k = 0;                                                      // groups finally used
  CheckedArray<std::int16_t> group_number{0, max_groups};         // group value that group i stands for
  CheckedArray<int> n{0, max_groups};                             // values in group i
  int capacity = default_capacity;                                // values a group can hold
  CheckedArray2<float> x{1, max_groups, 1, default_capacity};     // value j of group i, in file order
  CheckedArray2<float> rank{1, max_groups, 1, default_capacity};  // its rank, where a test ranks

  SampleTable() = default;
  // A table that the loader shapes before anything is put in (no tables of values and ranks yet:
  // their 800 kB are zero-filled once, by the loader).
  struct Unshaped {};
  explicit SampleTable(Unshaped) : x(1, 0, 1, 0), rank(1, 0, 1, 0) {}

  DataUsed used;  // the target, the group variable and each group's number and count

  int groups() const { return k; }
  // n(1..k).
  std::vector<int> sizes() const {
    std::vector<int> sizes;
    for (int i = 1; i <= k; ++i) sizes.push_back(n[i]);
    return sizes;
  }

  // With more than 10 groups each group holds 10000 / k + 1 values (nearest integer); the tables
  // of values and ranks are re-created with that shape.
  void redimension(int groups) {
    if (groups <= 10) return;
    capacity = to_int16(10000.0L / groups + 1);
    x = CheckedArray2<float>(1, max_groups, 1, capacity);
    rank = CheckedArray2<float>(1, max_groups, 1, capacity);
  }
};

}  // namespace veltrum
