// The dialog FRIEDMAN: an optional group variable and group number, the target variables picked
// in a list box with multiple selection, the listing check box.
//
// What the dialog keeps between passes of one call is named by BlockInputs.
#pragma once

#include <cstdint>

#include "frame/checked_array.hpp"
#include "frame/test_dialog.hpp"

namespace veltrum {

// The Friedman dialog's remembered choice, named over the module's storage (the remembered whole
// numbers and work array 9, which the loader reads).
struct BlockInputs {
  explicit BlockInputs(Module& module);
  std::int16_t& group_variable;         // column of the group variable, 0 = none
  std::int16_t& group_number;           // the group taken, 0 = all records
  std::int16_t& target_count;           // c, the number of target variables
  std::int16_t& listing;                // this test's listing check box, 1/0
  CheckedArray<std::int16_t>& targets;  // 1..c: the target columns, ascending
};

class FriedmanDialog : public TestDialog {
  using TestDialog::TestDialog;

  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
};

}  // namespace veltrum
