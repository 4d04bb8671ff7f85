// The pair table of the paired tests (Wilcoxon matched pairs, sign test): up to 1001 rows, row i
// holding the first value x(i) and the second value y(i) in reading order.
#pragma once

#include "frame/capacities.hpp"
#include "frame/checked_array.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct PairTable {
  static constexpr int capacity = table_capacity;

  int n = 0;                           // rows filled
  DataUsed used;                       // the two variables, the group variable and group
  CheckedArray<float> x{1, capacity};  // first variable ("vor")
  CheckedArray<float> y{1, capacity};  // second variable ("nach")

  // Appends a row; the 1002nd row raises IndexError (the test error trap reports it).
  void add(float first, float second) {
    x[n + 1] = first;
    y[n + 1] = second;
    ++n;
  }
};

}  // namespace veltrum
