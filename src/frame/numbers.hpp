// The module's number conventions in one place.
//
// Data and results are stored as 32-bit floats; everything computed between two stores is
// long double (80-bit extended on x86).  INT in a formula is the floor.  A value stored into a
// 16-bit integer is rounded to the nearest integer, a half to the even neighbour; a value
// outside the 16-bit range becomes -32768.
#pragma once

#include <cmath>
#include <cstdint>

namespace veltrum {

using real = long double;

// INT(x): the largest whole number not above x.
inline real int_floor(real x) { return std::floor(x); }

// Round to the nearest whole number, halves to the even neighbour (the unit's rounding mode, which
// the module keeps at round-to-nearest).  rint rather than nearbyint: the two differ only in the
// inexact flag, which nothing here reads, and nearbyint saves and restores the whole x87
// environment on every call, a cost that shows when a loader stores 10,000 group numbers.
inline real round_even(real x) { return std::rint(x); }

// Store into a 16-bit integer: ties to even, out of range (or not a number) gives -32768.
inline std::int16_t to_int16(real x) {
  if (!(x == x)) return INT16_MIN;
  const real r = round_even(x);
  if (r < -32768.0L || r > 32767.0L) return INT16_MIN;
  return static_cast<std::int16_t>(r);
}

// Store into a 32-bit integer: ties to even, out of range (or not a number) gives INT32_MIN.
inline std::int32_t to_int32(real x) {
  if (!(x == x)) return INT32_MIN;
  const real r = round_even(x);
  if (r < -2147483648.0L || r > 2147483647.0L) return INT32_MIN;
  return static_cast<std::int32_t>(r);
}

// Store into a 32-bit float.
inline float to_float(real x) { return static_cast<float>(x); }

}  // namespace veltrum
