// The dialog of the cross-over analysis (template CROSS, letter C): the group variable, the
// variables of period 1 and period 2, the two group numbers, the listing check box and a help
// text on how the data file is laid out.
//
// What the dialog keeps between passes of one call is named by CrossOverInputs; the listing flag
// and its check box are module.listing and module.listing_check.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "frame/test_dialog.hpp"

namespace veltrum {

// The cross-over dialog's remembered choice, named over the module's remembered whole numbers.
struct CrossOverInputs {
  explicit CrossOverInputs(Module& module);
  std::int16_t& group_variable;  // column of the group variable
  std::int16_t& period1;         // column of the period-1 variable
  std::int16_t& period2;         // column of the period-2 variable
  std::int16_t& group1;          // first group number (the smaller one after loading)
  std::int16_t& group2;          // second group number

 private:
  explicit CrossOverInputs(std::array<std::int16_t, 10>& whole);
};

// Characters read from a group-number field.
inline constexpr int cross_group_field_limit = 9;

// The text of the "&Hilfe!" box: which treatment each group gets in which period, and why period 1
// can be analysed as a parallel-group trial.
std::string cross_over_help_text();

// The three lists hold only the variables; "&Rechnen" stores every input first and then checks, in
// this order, the group variable, both periods, group numbers of at least 1, two different groups.
// A rejected input leaves the focus where it is.  The same variable may serve for both periods.
class CrossOverDialog : public TestDialog {
  using TestDialog::TestDialog;

  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
  bool other(DialogWindow& dialog, int id) override;
};

}  // namespace veltrum
