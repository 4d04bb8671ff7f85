// Included before every source of the WebAssembly build: emscripten 3.1.6's libc++ (LLVM 14) has
// no floating-point std::to_chars and std::from_chars.  These give what the callers rely on: a
// float as the shortest decimal that reads back to it, and a decimal read as the nearest double.
#pragma once

#ifdef __cplusplus
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {

inline to_chars_result to_chars(char* first, char* last, float value) {
  char text[48];
  int length = 0;
  // The fewest significant digits that give the float back; 9 always do.
  for (int digits = 1; digits <= 9; ++digits) {
    length = std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value) break;
  }
  if (length < 0 || length > last - first) return {last, errc::value_too_large};
  std::memcpy(first, text, static_cast<size_t>(length));
  return {first + length, errc{}};
}

inline from_chars_result from_chars(const char* first, const char* last, double& value) {
  const std::string text(first, last);
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return {first, errc::invalid_argument};
  if (errno == ERANGE) return {first + (end - text.c_str()), errc::result_out_of_range};
  value = read;
  return {first + (end - text.c_str()), errc{}};
}

}  // namespace std
#endif
