// The dialog HAUFIG of letter H: a keyword and two absolute frequencies, each at least 0, their
// sum above 0.
#pragma once

#include <cstdint>

#include "VELTRUM_R.h"
#include "frame/test_dialog.hpp"

namespace veltrum {

// The dialog's remembered frequencies, named over the module's remembered whole numbers (the
// keyword is module.keyword).
struct TwoFrequencyInputs {
  explicit TwoFrequencyInputs(Module& module);
  std::int16_t& n1;
  std::int16_t& n2;
};

class HaufigDialog : public TestDialog {
 public:
  explicit HaufigDialog(Module& module) : TestDialog(module, {IDC_HAUFIG_KEYWORD, IDC_HAUFIG_N1, IDC_HAUFIG_N2}) {}

 private:
  bool start(DialogWindow& d) override;

  void compute(DialogWindow& d) override;
};

}  // namespace veltrum
