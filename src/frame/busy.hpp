// A long computation says when it starts and ends, so that whoever runs it can show that the
// module is busy (the entries show the wait cursor).  The computation itself knows no host.
#pragma once

#include <functional>

namespace veltrum {

// Called with true when a long step starts and with false when it ends; may be empty.
using BusySignal = std::function<void(bool busy)>;

// Signals busy for the length of a scope.
class BusyScope {
 public:
  explicit BusyScope(const BusySignal& signal) : signal_(signal) {
    if (signal_) signal_(true);
  }
  ~BusyScope() {
    if (signal_) signal_(false);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  const BusySignal& signal_;
};

}  // namespace veltrum
