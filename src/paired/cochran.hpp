// Cochran's Q test: r blocks observed under c conditions with a 0/1 outcome; do the proportions
// of ones differ between the conditions?  With row sums L(i), column sums C(j) and G = sum L(i),
//   Q = (c - 1) (c sum C(j)^2 - G^2) / (c G - sum L(i)^2),
// chi-square with c - 1 degrees of freedom.  Rows of all zeros or all ones carry no information;
// when every row is such a row the denominator is 0 and Q is 0.
//
// Reference: Cochran, W.G. (1950), The comparison of percentages in matched samples,
// Biometrika 37, 256-266.
#pragma once

#include <vector>

#include "frame/capacities.hpp"
#include "frame/checked_array.hpp"
#include "frame/result.hpp"

namespace veltrum {

class ReportFile;

// The table typed into the dialog, each cell 0 or 1.
struct CochranTable {
  static constexpr int max_rows = table_capacity;
  static constexpr int max_columns = 10;
  int rows = 0, columns = 0;  // r and c as last read from the dialog
  CheckedArray2<float> x{1, max_rows, 1, max_columns};
};

struct CochranQ {
  std::vector<std::vector<float>> table;  // the r rows of c values as typed
  float q = 0;
  int df = 0;
  float p = 1;

  std::vector<PValue> p_values() const { return {{"Q", p, Obtained::approximate}}; }
};

// Q, df and p for the rows and columns of the table (no rows: Q = 0).
CochranQ cochran_q(const CochranTable& table);

// "Eingegebene Daten:", the table, the Q line and the literature.
void write_cochran(ReportFile& report, const CochranQ& result);

// The dialog COCHRAN: the numbers of rows and columns, then one cell per Enter ("&Rechnen", the
// default button), row by row; the counts are read again at every Enter, so they can still be
// changed.  A value other than 0 or 1 is refused without a message.  After the last cell the
// prompt reads "Eingabe Ende !" and the next Enter ends the dialog.

}  // namespace veltrum
