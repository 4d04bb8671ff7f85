// Shared pieces of the tests: a headless host in a private "C:\" and helpers to read reports.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "frame/dispatch.hpp"
#include "frame/module.hpp"
#include "headless/headless_host.hpp"
#include "headless/script.hpp"
#include "veltrum.hpp"

namespace veltrum::testing {

// A fresh "C:\" directory for each test, removed afterwards.
class TempDrive {
 public:
  TempDrive() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("veltrum-test-" + std::string(info ? info->test_suite_name() : "x") + "-" +
             std::string(info ? info->name() : "y") + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDrive() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Splits a report at CR LF; a trailing line end gives no extra empty line.
inline std::vector<std::string> crlf_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const auto end = bytes.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(pos));
      break;
    }
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

// One module with a headless host whose clock stands at 07.12.2026 (09:05).
struct Session {
  explicit Session(headless::Settings settings = {}) : host(with_drive(std::move(settings))), module(host) {
    libmain(module, 0x400000);
  }

  // Plays `script` (the action notation of the headless host) through one Veltrum call.
  int run(std::string_view letter, std::string_view script_text = {}, std::string_view data_file = {}) {
    host.add_actions(script::parse(script_text));
    return run_veltrum(module, 0x1234, data_file, letter);
  }

  std::string report() const { return read_bytes(drive.path() / "Ausgabe"); }
  std::vector<std::string> report_lines() const { return crlf_lines(report()); }

  TempDrive drive;
  headless::HeadlessHost host;
  Module module;

 private:
  headless::Settings with_drive(headless::Settings s) {
    s.drive_c = drive.path().string();
    if (!s.fixed_time) s.fixed_time = LocalTime{2026, 12, 7, 9, 5};
    return s;
  }
};

}  // namespace veltrum::testing
