// The dialog FRIEDMAN: an optional group variable and group number, the target variables picked
// in a list box with multiple selection, the listing check box.
//
// What the dialog keeps between passes of one call:
//   module.remembered.whole[blocked_inputs::group_variable]  column of the group variable, 0 = none
//   module.remembered.whole[blocked_inputs::group_number]    the group taken, 0 = all records
//   module.remembered.whole[blocked_inputs::target_count]    c, the number of target variables
//   module.remembered.whole[blocked_inputs::listing]         this test's listing check box, 1/0
//   module.work.w9[1..c]                                     the target columns, ascending
#pragma once

#include "frame/test_dialog.hpp"

namespace veltrum {

namespace blocked_inputs {
inline constexpr int group_variable = 0;
inline constexpr int group_number = 1;
inline constexpr int target_count = 2;
inline constexpr int listing = 3;
}  // namespace blocked_inputs

class FriedmanDialog : public TestDialog {
 public:
  explicit FriedmanDialog(Module& module) : TestDialog(module) {}

 private:
  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
};

}  // namespace veltrum
