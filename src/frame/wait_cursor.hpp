// The wait cursor while a computation signals busy.
#pragma once

#include "frame/busy.hpp"
#include "frame/host.hpp"

namespace veltrum {

// The wait cursor while busy, the arrow after.
inline BusySignal wait_cursor_signal(Host& host) {
  return [&host](bool busy) { host.cursor(busy ? Cursor::wait : Cursor::arrow); };
}

}  // namespace veltrum
