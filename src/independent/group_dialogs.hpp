// The dialogs of the tests that compare independent groups of one variable: the k-group dialog
// (template KRUSKAL, letters K and T) and the two-group dialog (templates UTEST, MEDIAN, KOLMO;
// letters U, N, E, S).
//
// What the dialogs keep between passes of one call is named by GroupInputs; the listing check box
// (module.listing_check, 1/0, and module.listing) is kept as long as the module is loaded.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/checked_array.hpp"
#include "frame/records.hpp"
#include "frame/test_dialog.hpp"

namespace veltrum {

struct Module;

// The group dialogs' remembered choice, named over the module's storage (the slots of the
// remembered whole numbers and work array 8, which the loader reads).
struct GroupInputs {
  explicit GroupInputs(Module& module);
  std::int16_t& group_variable;               // column of the group variable, 0 = none
  std::int16_t& target_variable;              // column of the variable to be tested
  std::int16_t& group_count;                  // groups asked for in KRUSKAL, 0 = all
  CheckedArray<std::int16_t>& group_numbers;  // 1..: the group numbers in entry order
};

// Characters read from a number field.
inline constexpr int group_field_limit = 9;

// KRUSKAL: the number of groups in edit 403 (0 or less: all groups, shown as "0=<Alle>"), then
// one group number per Enter in edit 404, the label counting "2. Gruppe :", "3. Gruppe :", ...
// up to "Alle Gruppen eingegeben!"; the next Rechnen ends the dialog with 1.
class GroupsDialog : public TestDialog {
 public:
  explicit GroupsDialog(Module& module) : TestDialog(module) {}
  int entered() const { return entered_; }

 private:
  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
  int entered_ = 0;  // group numbers entered in this run of the dialog
};

// UTEST, MEDIAN, KOLMO: two different group numbers from 1 to 1000 in edits 403 and 404;
// UTEST's "&Hilfe" opens the help file.
class TwoGroupsDialog : public TestDialog {
  using TestDialog::TestDialog;

  bool start(DialogWindow& dialog) override;
  void compute(DialogWindow& dialog) override;
  bool other(DialogWindow& dialog, int id) override;
};

}  // namespace veltrum
