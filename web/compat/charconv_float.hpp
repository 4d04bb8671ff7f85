// Included before every source of the WebAssembly build: emscripten 3.1.6's libc++ (LLVM 14) has
// no floating-point std::to_chars and std::from_chars.  charconv_float.cpp gives what the callers
// rely on: a float as the shortest decimal that reads back to it, and a decimal read as the
// nearest double.
#pragma once

#ifdef __cplusplus
#include <charconv>

namespace std {
to_chars_result to_chars(char* first, char* last, float value);
from_chars_result from_chars(const char* first, const char* last, double& value);
}  // namespace std
#endif
