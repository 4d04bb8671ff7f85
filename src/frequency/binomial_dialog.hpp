// The dialog BINOM of letter B: a keyword, the number of trials n, the successes k (held to
// 0..n) and the hypothetical theta0 (0 < theta0 < 1).
#pragma once

#include <cstdint>

#include "VELTRUM_R.h"
#include "frame/test_dialog.hpp"

namespace veltrum {

// The dialog's remembered inputs, named over the module's remembered wide whole numbers and reals
// (the keyword is module.keyword).
struct BinomialInputs {
  explicit BinomialInputs(Module& module);
  std::int32_t& n;  // trials
  std::int32_t& k;  // successes
  float& theta;     // the hypothetical value
};

class BinomDialog : public TestDialog {
 public:
  explicit BinomDialog(Module& module)
      : TestDialog(module, {IDC_BINOM_KEYWORD, IDC_BINOM_N, IDC_BINOM_K, IDC_BINOM_THETA}) {}

 private:
  bool start(DialogWindow& d) override;

  void compute(DialogWindow& d) override;
};

}  // namespace veltrum
