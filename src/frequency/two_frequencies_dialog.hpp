// The dialog HAUFIG of letter H: a keyword and two absolute frequencies, each at least 0, their
// sum above 0.
#pragma once

#include "VELTRUM_R.h"
#include "frame/test_dialog.hpp"

namespace veltrum {

// Where the dialog remembers its inputs between passes: module.remembered.whole[...] and the
// keyword.
namespace two_frequency_inputs {
inline constexpr int n1 = 0, n2 = 1;
}  // namespace two_frequency_inputs

class HaufigDialog : public TestDialog {
 public:
  explicit HaufigDialog(Module& module) : TestDialog(module, {IDC_HAUFIG_KEYWORD, IDC_HAUFIG_N1, IDC_HAUFIG_N2}) {}

 private:
  bool start(DialogWindow& d) override;

  void compute(DialogWindow& d) override;
};

}  // namespace veltrum
