// The paired dialog (templates WMP and VZT, letters W and V: the same controls, only the captions
// differ): an optional group variable with one group number, and the two variables of a pair.
//
// What the dialog keeps between passes of one call:
//   module.remembered.whole[pair_inputs::group_variable]   column of the group variable, 0 = none
//   module.remembered.whole[pair_inputs::first_variable]   column of the first variable ("vor")
//   module.remembered.whole[pair_inputs::group_number]     the group taken, 0 = all records
//   module.remembered.whole[pair_inputs::second_variable]  column of the second variable ("nach")
//   module.listing_check, module.listing                   the listing check box, 1/0 and the flag
#pragma once

#include "frame/test_dialog.hpp"

namespace veltrum {

struct Module;

namespace pair_inputs {
inline constexpr int group_variable = 0;  // shared with the group dialogs
inline constexpr int first_variable = 1;  // shared with the group dialogs' target variable
inline constexpr int group_number = 3;
inline constexpr int second_variable = 4;
}  // namespace pair_inputs

// Characters read from the group number field.
inline constexpr int pair_group_field_limit = 9;

// "&Rechnen" checks, in this order: a group variable needs a group number above 0; a group number
// without a group variable asks whether to ignore it (No keeps the dialog open); group numbers
// only from 0 to 1000; both variables chosen; two different variables.
class PairDialog : public TestDialog {
 public:
  explicit PairDialog(Module& module) : TestDialog(module) {}

 private:
  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
};

}  // namespace veltrum
