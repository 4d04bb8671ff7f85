// What the harnesses share: a drive "C:\" of their own, and the input taken apart piece by piece.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace veltrum::fuzz {

// A directory for this process standing for "C:\" (one per process: libFuzzer may run several).
inline const std::string& drive_c() {
  static const std::string dir = [] {
    const auto d = std::filesystem::temp_directory_path() / ("veltrum-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d.string();
  }();
  return dir;
}

inline void write_file(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The input consumed from the front: bytes, small numbers, and the rest.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // A piece up to the next byte `end` (not included), or the rest.
  std::string_view piece(char end) {
    const auto at = rest_.find(end);
    const std::string_view p = rest_.substr(0, at);
    rest_ = at == std::string_view::npos ? std::string_view{} : rest_.substr(at + 1);
    return p;
  }
  std::string_view rest() {
    const std::string_view r = rest_;
    rest_ = {};
    return r;
  }
  bool empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

#define VELTRUM_FUZZ_CHECK(condition, what)                  \
  do {                                                       \
    if (!(condition)) {                                      \
      std::fprintf(stderr, "property violated: %s\n", what); \
      std::abort();                                          \
    }                                                        \
  } while (0)

}  // namespace veltrum::fuzz
