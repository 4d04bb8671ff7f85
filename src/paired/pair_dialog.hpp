// The paired dialog (templates WMP and VZT, letters W and V: the same controls, only the captions
// differ): an optional group variable with one group number, and the two variables of a pair.
//
// What the dialog keeps between passes of one call is named by PairInputs; the listing check box
// is module.listing_check (1/0) with the flag module.listing.
#pragma once

#include "frame/test_dialog.hpp"

namespace veltrum {

struct Module;

// The paired dialog's remembered choice, named over the module's remembered whole numbers.
struct PairInputs {
  explicit PairInputs(Module& module);
  std::int16_t& group_variable;   // column of the group variable, 0 = none (the group dialogs' too)
  std::int16_t& first_variable;   // column of the first variable ("vor"; the group dialogs' target)
  std::int16_t& group_number;     // the group taken, 0 = all records
  std::int16_t& second_variable;  // column of the second variable ("nach")
};

// Characters read from the group number field.
inline constexpr int pair_group_field_limit = 9;

// "&Rechnen" checks, in this order: a group variable needs a group number above 0; a group number
// without a group variable asks whether to ignore it (No keeps the dialog open); group numbers
// only from 0 to 1000; both variables chosen; two different variables.
class PairDialog : public TestDialog {
  using TestDialog::TestDialog;

  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
};

}  // namespace veltrum
