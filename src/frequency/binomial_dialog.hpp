// The dialog BINOM of letter B: a keyword, the number of trials n, the successes k (held to
// 0..n) and the hypothetical theta0 (0 < theta0 < 1).
#pragma once

#include "VELTRUM_R.h"
#include "frame/test_dialog.hpp"

namespace veltrum {

// Where the dialog remembers its inputs between passes: n and k in module.remembered.wide[...],
// theta0 in module.remembered.real[...], and the keyword.
namespace binomial_inputs {
inline constexpr int n = 0, k = 1, theta = 0;
}  // namespace binomial_inputs

class BinomDialog : public TestDialog {
 public:
  explicit BinomDialog(Module& module)
      : TestDialog(module, {IDC_BINOM_KEYWORD, IDC_BINOM_N, IDC_BINOM_K, IDC_BINOM_THETA}) {}

 private:
  bool start(DialogWindow& d) override;

  void compute(DialogWindow& d) override;
};

}  // namespace veltrum
