// The floating-point conversions of charconv_float.hpp without the C library's strtod and printf,
// which go through 128-bit long double, software arithmetic in WebAssembly (a hundred times
// slower than the conversions themselves).
#include "charconv_float.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

namespace std {

// The shortest digits that read back to the float (Grisu2 with the float's own neighbours, as
// nlohmann-json formats numbers; 64-bit arithmetic leaves 40 bits to spare for a float's 24),
// written as DIGITSeEXPONENT.
to_chars_result to_chars(char* first, char* last, float value) {
  char text[40];
  char* out = text;
  if (std::isnan(value)) {
    out = std::strcpy(text, "nan") + 3;
  } else if (std::isinf(value)) {
    out = std::strcpy(text, value < 0 ? "-inf" : "inf") + (value < 0 ? 4 : 3);
  } else {
    if (std::signbit(value)) *out++ = '-', value = -value;
    if (value == 0) {
      *out++ = '0';
    } else {
      int length = 0, exponent = 0;
      nlohmann::detail::dtoa_impl::grisu2(out, length, exponent, value);
      out += length;
      *out++ = 'e';
      out = std::to_chars(out, text + sizeof text, exponent).ptr;
    }
  }
  const auto size = out - text;
  if (size > last - first) return {last, errc::value_too_large};
  std::memcpy(first, text, static_cast<size_t>(size));
  return {first + size, errc{}};
}

// A decimal of at most 15 significant digits and a power of ten up to 22 is read exactly: both
// are doubles, and one division or multiplication rounds once (Clinger).  Others go to strtod.
from_chars_result from_chars(const char* first, const char* last, double& value) {
  static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = first;
  const bool negative = p < last && *p == '-';
  if (negative) ++p;
  std::uint64_t digits = 0;
  int significant = 0, exponent = 0;
  bool any = false, seen_point = false;
  for (; p < last; ++p) {
    if (*p == '.' && !seen_point) {
      seen_point = true;
      continue;
    }
    if (*p < '0' || *p > '9') break;
    any = true;
    if (digits == 0 && *p == '0') {
      if (seen_point) --exponent;
      continue;
    }
    if (significant < 19) {
      digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
      ++significant;
      if (seen_point) --exponent;
    } else if (!seen_point) {
      ++exponent, significant = 99;
    } else {
      significant = 99;
    }
  }
  if (!any) return {first, errc::invalid_argument};
  if (p < last && (*p == 'e' || *p == 'E')) {
    int e = 0;
    const auto read = std::from_chars(p + 1 + (p + 1 < last && *(p + 1) == '+'), last, e);
    if (read.ec == errc{}) exponent += e, p = read.ptr;
  }
  if (significant <= 15 && exponent >= -22 && exponent <= 22) {
    const double m = static_cast<double>(digits);
    value = exponent < 0 ? m / powers[-exponent] : m * powers[exponent];
    if (negative) value = -value;
    return {p, errc{}};
  }
  const std::string text(first, p);
  errno = 0;
  char* end = nullptr;
  const double read = std::strtod(text.c_str(), &end);
  if (errno == ERANGE) return {first + (end - text.c_str()), errc::result_out_of_range};
  value = read;
  return {first + (end - text.c_str()), errc{}};
}

}  // namespace std
