// The dialog of the cross-over analysis (template CROSS, letter C): the group variable, the
// variables of period 1 and period 2, the two group numbers, the listing check box and a help
// text on how the data file is laid out.
//
// What the dialog keeps between passes of one call:
//   module.remembered.whole[cross_inputs::group_variable]  column of the group variable
//   module.remembered.whole[cross_inputs::period1]         column of the period-1 variable
//   module.remembered.whole[cross_inputs::period2]         column of the period-2 variable
//   module.remembered.whole[cross_inputs::group1]          first group number (the smaller one
//   module.remembered.whole[cross_inputs::group2]          second group number  after loading)
//   module.listing, module.listing_check                   the listing flag and its check box
#pragma once

#include <string>

#include "frame/test_dialog.hpp"

namespace veltrum {

namespace cross_inputs {
inline constexpr int group_variable = 0;
inline constexpr int period1 = 1;
inline constexpr int period2 = 2;
inline constexpr int group1 = 3;
inline constexpr int group2 = 4;
}  // namespace cross_inputs

// Characters read from a group-number field.
inline constexpr int cross_group_field_limit = 9;

// The text of the "&Hilfe!" box: which treatment each group gets in which period, and why period 1
// can be analysed as a parallel-group trial.
std::string cross_over_help_text();

// The three lists hold only the variables; "&Rechnen" stores every input first and then checks, in
// this order, the group variable, both periods, group numbers of at least 1, two different groups.
// A rejected input leaves the focus where it is.  The same variable may serve for both periods.
class CrossOverDialog : public TestDialog {
 public:
  explicit CrossOverDialog(Module& module) : TestDialog(module) {}

 private:
  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
  bool other(DialogWindow& dialog, int id) override;
};

}  // namespace veltrum
