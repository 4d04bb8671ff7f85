// The blocked design of the Friedman test: r rows (blocks, the records of the data file) of c
// values (the target variables, in the order of the target list).
#pragma once

#include "frame/capacities.hpp"
#include "frame/checked_array.hpp"
#include "frame/numbers.hpp"
#include "frame/result.hpp"

namespace veltrum {

struct BlockTable {
  static constexpr int default_rows = table_capacity;  // rows the table holds with up to 10 columns
  static constexpr int default_columns = 10;

  int rows = 0;     // r, the rows filled
  int columns = 0;  // c
  int capacity = default_rows;
  DataUsed used;                                                // the target variables, the group variable and group
  CheckedArray2<float> x{1, default_rows, 1, default_columns};  // x(row, column)

  // The rows a table of c columns holds: 1001 up to 10 columns, above that 10000 / c + 1 rounded
  // to the nearest whole number (a half to the even one).
  static int row_capacity(int columns) {
    return columns <= default_columns ? default_rows : to_int16(10000.0L / columns + 1);
  }

  // An empty table shaped for c columns.
  explicit BlockTable(int c = default_columns)
      : columns(c), capacity(row_capacity(c)), x(1, capacity, 1, c > default_columns ? c : default_columns) {}
};

}  // namespace veltrum
