// The wait cursor for the length of a scope, when there is a host to show it.
#pragma once

#include "frame/host.hpp"

namespace veltrum {

class WaitCursor {
 public:
  explicit WaitCursor(Host* host) : host_(host) {
    if (host_) host_->cursor(Cursor::wait);
  }
  ~WaitCursor() {
    if (host_) host_->cursor(Cursor::arrow);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Host* host_;
};

}  // namespace veltrum
