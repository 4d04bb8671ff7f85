#include "table_file.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "headless/codepage.hpp"

namespace veltrum::cli {

namespace {

// The digits after the decimal point of a number as written.
std::size_t decimals_of(std::string_view number) {
  std::size_t decimals = 0;
  bool point = false;
  for (const char c : number) {
    if (c == 'e' || c == 'E') break;
    if (point) ++decimals;
    point = point || c == '.';
  }
  return decimals;
}

}  // namespace

std::string read_bytes(const std::string& name) {
  const bool from_stdin = name == "-";
  std::FILE* file = from_stdin ? stdin : std::fopen(name.c_str(), "rb");
  if (!file) throw std::runtime_error(std::strerror(errno));
  std::string bytes;
  // A file's room taken at once (standard input grows as it comes).
  if (struct stat about{}; fstat(fileno(file), &about) == 0 && S_ISREG(about.st_mode))
    bytes.reserve(static_cast<std::size_t>(about.st_size) + 1);
  char block[65536];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
  const bool failed = std::ferror(file);
  const int error = errno;
  if (!from_stdin) std::fclose(file);
  if (failed) throw std::runtime_error(std::strerror(error));
  return bytes;
}

std::vector<std::size_t> all_records(const Table& table) {
  std::vector<std::size_t> records(table.records());
  std::iota(records.begin(), records.end(), std::size_t{0});
  return records;
}

namespace {

// Hands the data file to `put` in pieces: the header line, then blocks of whole records.
template <typename Put>
void lay_out(const Table& table, std::span<const std::size_t> records, Put put) {
  const std::size_t n = table.columns.size();
  // Each record's cells as they are written: a number's text or a label number.
  char digits[16];
  const auto cell = [&](std::size_t k, std::size_t record) -> std::string_view {
    const TableColumn& column = table.columns[k];
    if (!column.text) return column.cell(record);
    if (column.codes[record] == 0) return {};
    const auto end = std::to_chars(digits, digits + sizeof digits, column.codes[record]).ptr;
    return {digits, static_cast<std::size_t>(end - digits)};
  };
  std::vector<std::size_t> widths(n, 1), decimals(n, 0);
  for (std::size_t k = 0; k < n; ++k)
    for (const std::size_t r : records) {
      const std::string_view text = cell(k, r);
      widths[k] = std::max(widths[k], text.size());
      if (!table.columns[k].text) decimals[k] = std::max(decimals[k], decimals_of(text));
    }
  std::string out;
  for (std::size_t k = 0; k < n; ++k) {
    if (k) out += ' ';
    out.append(utf8_to_cp1252(table.columns[k].file_name)).append(";N;").append(std::to_string(widths[k]));
    out.append(";").append(std::to_string(decimals[k]));
  }
  out += "\r\n";
  put(std::string_view(out));
  // Column 1 takes one character more than its width; the others follow a separating blank.
  std::size_t line = 2;
  for (std::size_t k = 0; k < n; ++k) line += widths[k] + 1;
  const std::size_t per_block = std::max<std::size_t>(1, 65536 / line);
  for (std::size_t first = 0; first < records.size(); first += per_block) {
    const std::size_t count = std::min(per_block, records.size() - first);
    out.assign(count * line, ' ');
    std::size_t at = 0;
    for (const std::size_t r : records.subspan(first, count)) {
      for (std::size_t k = 0; k < n; ++k) {
        const std::string_view text = cell(k, r);
        at += widths[k] + 1;
        text.copy(out.data() + at - text.size(), text.size());
      }
      out[at] = '\r';
      out[at + 1] = '\n';
      at += 2;
    }
    put(std::string_view(out));
  }
}

}  // namespace

std::string data_file_text(const Table& table, std::span<const std::size_t> records) {
  std::string text;
  lay_out(table, records, [&](std::string_view piece) { text += piece; });
  return text;
}

void write_data_file(const Table& table, std::span<const std::size_t> records, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  bool written = true;
  lay_out(table, records, [&](std::string_view piece) {
    written = written && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
  });
  if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path + " whole");
}

}  // namespace veltrum::cli
