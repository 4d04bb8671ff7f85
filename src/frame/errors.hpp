// The two kinds of run-time error that the module's error traps tell apart.
#pragma once

#include <stdexcept>
#include <string>

namespace veltrum {

// An array index outside the array's declared range.  Never touches memory outside the array.
class IndexError : public std::out_of_range {
 public:
  explicit IndexError(const std::string& what) : std::out_of_range(what) {}
};

// Any other failure of a statement inside a test (a write to a report that is not open, ...).
class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace veltrum
