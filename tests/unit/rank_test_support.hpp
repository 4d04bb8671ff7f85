// Helpers of the rank-test tests: sample tables filled in the test, report lines written by a
// writer into a private file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/report.hpp"
#include "independent/sample_table.hpp"
#include "test_support.hpp"

namespace veltrum::testing {

// Groups 1..k with the given values; group numbers 1..k unless given.
inline SampleTable make_table(const std::vector<std::vector<float>>& groups,
                              const std::vector<std::int16_t>& numbers = {}) {
  SampleTable t;
  const int k = static_cast<int>(groups.size());
  t.redimension(k);
  t.k = k;
  for (int i = 1; i <= k; ++i) {
    const auto& g = groups[static_cast<std::size_t>(i - 1)];
    t.group_number[i] = numbers.empty() ? static_cast<std::int16_t>(i) : numbers[static_cast<std::size_t>(i - 1)];
    t.n[i] = static_cast<int>(g.size());
    for (std::size_t j = 0; j < g.size(); ++j) t.x(i, static_cast<int>(j) + 1) = g[j];
  }
  return t;
}

// n values start, start + step, ... (distinct, no ties).
inline std::vector<float> arithmetic(int n, float start, float step) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(start + step * static_cast<float>(i));
  return v;
}

// The lines a writer puts into a fresh report file.
inline std::vector<std::string> written_lines(const std::function<void(ReportFile&)>& writer) {
  TempDrive drive;
  const auto path = drive.path() / "report";
  ReportFile report;
  EXPECT_TRUE(report.create(path.string()));
  writer(report);
  report.close();
  return crlf_lines(read_bytes(path));
}

inline bool contains_line(const std::vector<std::string>& lines, const std::string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

inline bool contains_text(const std::vector<std::string>& lines, const std::string& text) {
  for (const auto& l : lines)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace veltrum::testing
