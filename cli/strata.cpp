#include "strata.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "headless/codepage.hpp"
#include "headless/headless_host.hpp"
#include "letters.hpp"
#include "table_file.hpp"

namespace veltrum::cli {

template <typename Key, typename Index>
void Strata::add(Index& index, const Key& key, std::string_view value, std::size_t record) {
  const auto [at, fresh] = index.try_emplace(key, strata_.size());
  if (fresh) strata_.push_back({std::string(value), {}});
  strata_[at->second].records.push_back(record);
}

Strata Strata::of_table(const Table& table, const std::string& var) {
  const int k = find_column(table, var);
  if (k < 0) throw CLI::ValidationError("--by", "the table has no column \"" + var + "\"");
  const TableColumn& column = table.columns[static_cast<std::size_t>(k)];
  Strata s;
  s.table_ = &table;
  s.variable_ = column.name;
  s.numeric_ = !column.text;
  // A text column by its label numbers; a number by the float the module reads from it, so that
  // "0.5" and ".50" are one stratum, as they are one value to the tests.
  std::unordered_map<std::uint32_t, std::size_t> labels;
  std::unordered_map<float, std::size_t> numbers;
  for (std::size_t r = 0; r < table.records(); ++r) {
    const std::string_view cell = column.cell(r);
    if (cell.empty()) {
      ++s.missing_;
    } else if (column.text) {
      s.add(labels, column.codes[r], column.labels[column.codes[r] - 1], r);
    } else {
      s.add(numbers, to_float(read_number(cell)), cell, r);
    }
  }
  return s;
}

Strata Strata::of_data_file(const std::string& data_file, const std::string& var) {
  const int column = column_of(file_variables(data_file), var, "--by");
  const std::string real_path = headless::path_under(headless::default_drive_c(), utf8_to_cp1252(data_file));
  DataFileLines lines(real_path);
  Strata s;
  if (!lines.is_open() || !lines.next(s.header_)) throw std::runtime_error("cannot read " + real_path);
  // The header read as the module reads it (a comma in a name stands for a dash there).
  DataFileArrays data;
  std::string header = s.header_;
  std::replace(header.begin(), header.end(), ',', '-');
  parse_header_line(data, header);
  s.variable_ = cp1252_to_utf8(data.names[column]);
  std::unordered_map<float, std::size_t> numbers;
  std::string line;
  while (lines.next(line)) {
    // Lines of blanks are no records: the loaders skip them.
    if (is_blank_line(line)) continue;
    const float value = field_value(data, line, column);
    if (value == data.missing[column]) {
      ++s.missing_;
      continue;
    }
    s.add(numbers, value, cp1252_to_utf8(written_value(column_text(data, line, column))), s.lines_.size());
    s.lines_.push_back(line);
  }
  if (lines.failed()) throw std::runtime_error("cannot read " + real_path);
  return s;
}

std::string Strata::text(std::size_t k) const {
  const Stratum& stratum = strata_.at(k);
  if (table_) return data_file_text(*table_, stratum.records);
  std::string text = header_ + "\r\n";
  for (const std::size_t line : stratum.records) text += lines_[line] + "\r\n";
  return text;
}

}  // namespace veltrum::cli
