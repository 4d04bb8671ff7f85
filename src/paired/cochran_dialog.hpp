// The dialog COCHRAN: the numbers of rows and columns, then the table typed value by value, one
// per Enter, row by row; the Enter after the last value computes.
#pragma once

#include "frame/test_dialog.hpp"
#include "paired/cochran.hpp"

namespace veltrum {

class CochranDialog : public TestDialog {
 public:
  CochranDialog(Module& module, CochranTable& table) : TestDialog(module), table_(table) {}

 private:
  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
  CochranTable& table_;
  int row_ = 1, column_ = 1;  // the cell typed next
};

}  // namespace veltrum
