#include "table_file.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "headless/codepage.hpp"

namespace veltrum::cli {

namespace {

// The digits after the decimal point of a number as written.
std::size_t decimals_of(std::string_view number) {
  const auto point = number.find('.');
  if (point == std::string_view::npos) return 0;
  const auto end = number.find_first_of("eE", point);
  return (end == std::string_view::npos ? number.size() : end) - point - 1;
}

}  // namespace

std::vector<std::size_t> all_records(const Table& table) {
  std::vector<std::size_t> records(table.records());
  std::iota(records.begin(), records.end(), std::size_t{0});
  return records;
}

std::string data_file_text(const Table& table, std::span<const std::size_t> records) {
  const std::size_t n = table.columns.size();
  // Each record's cells as they are written: a number's text or a label number.
  std::string buffer;
  const auto cell = [&](std::size_t k, std::size_t record) -> std::string_view {
    const TableColumn& column = table.columns[k];
    if (!column.text) return column.cells[record];
    if (column.codes[record] == 0) return {};
    buffer = std::to_string(column.codes[record]);
    return buffer;
  };
  std::vector<std::size_t> widths(n, 1), decimals(n, 0);
  for (std::size_t k = 0; k < n; ++k)
    for (const std::size_t r : records) {
      const std::string_view text = cell(k, r);
      widths[k] = std::max(widths[k], text.size());
      if (!table.columns[k].text) decimals[k] = std::max(decimals[k], decimals_of(text));
    }
  std::string out;
  for (std::size_t k = 0; k < n; ++k)
    out += (k ? " " : "") + utf8_to_cp1252(table.columns[k].file_name) + ";N;" + std::to_string(widths[k]) + ";" +
           std::to_string(decimals[k]);
  out += "\r\n";
  std::size_t line = 1;
  for (std::size_t k = 0; k < n; ++k) line += widths[k] + 1;
  out.reserve(out.size() + records.size() * (line + 2));
  for (const std::size_t r : records) {
    for (std::size_t k = 0; k < n; ++k) {
      const std::string_view text = cell(k, r);
      // Column 1 takes one character more than its width; the others follow a separating blank.
      out.append(widths[k] + 1 - text.size(), ' ');
      out += text;
    }
    out += "\r\n";
  }
  return out;
}

void write_data_file(const Table& table, std::span<const std::size_t> records, const std::string& path) {
  const std::string text = data_file_text(table, records);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path + " whole");
}

}  // namespace veltrum::cli
