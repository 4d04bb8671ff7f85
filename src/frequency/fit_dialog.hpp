// The dialogs GLEICH (letter G) and ANPASS (letter A): one category per "&Rechnen" (or Enter),
// a frequency (GLEICH) or a frequency and its probability (ANPASS); Enter on empty fields ends the
// entry.  The frequencies go to work array 2 and the probabilities to work array 3 (indices
// 1..100), so the array's own range is the capacity.
#pragma once

#include "frame/test_dialog.hpp"

namespace veltrum {

class FitDialog : public TestDialog {
 public:
  FitDialog(Module& module, bool uniform) : TestDialog(module), uniform_(uniform) {}

  int count() const { return count_; }

 private:
  bool start(DialogWindow& d) override;

  void compute(DialogWindow& d) override;

  // GLEICH: the leading number of the text as typed (no decimal comma), any value.
  void take_frequency(DialogWindow& d);

  // ANPASS: a frequency and its probability, a decimal comma read as a point.
  void take_pair(DialogWindow& d);

  bool room_left(DialogWindow& d);

  void after_store(DialogWindow& d);

  bool uniform_;
  int count_ = 0;
};

}  // namespace veltrum
