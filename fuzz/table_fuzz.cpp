// The table reader on any bytes, in any format: it reads a table or refuses it with a row and a
// column, and a table it reads becomes a data file from which the module reads every number as
// the module reads the number's text itself, every missing cell as missing and every label as its
// number.
#include <cmath>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "fuzz_support.hpp"
#include "table_file.hpp"
#include "table_input.hpp"

using namespace veltrum;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  cli::TableFormat format;
  const std::uint8_t how = in.byte();
  format.separator = ",;\t|"[how & 3];
  format.decimal = format.separator == ';' ? ',' : '.';
  format.encoding = how & 4 ? cli::Encoding::windows1252 : cli::Encoding::utf8;
  if (how & 8) format.missing = {"-99", "."};
  const std::string bytes(in.rest());
  cli::Table table;
  try {
    table = cli::read_table(bytes, format);
  } catch (const cli::TableError& e) {
    VELTRUM_FUZZ_CHECK(e.row >= 1 && e.column >= 1 && e.column <= cli::most_columns + 1, "a fault has its place");
    return 0;
  }
  VELTRUM_FUZZ_CHECK(!table.columns.empty() && table.columns.size() <= cli::most_columns, "columns in range");
  VELTRUM_FUZZ_CHECK(table.records() > 0, "a table has records");
  const std::string text = cli::data_file_text(table, cli::all_records(table));
  const std::string header = text.substr(0, text.find("\r\n"));
  DataFileArrays arrays;
  VELTRUM_FUZZ_CHECK(parse_header_line(arrays, header) == static_cast<int>(table.columns.size()),
                     "the module reads every column of the header");
  std::size_t at = header.size() + 2;
  for (std::size_t r = 0; r < table.records(); ++r) {
    const std::size_t end = text.find("\r\n", at);
    const std::string_view line = std::string_view(text).substr(at, end - at);
    at = end + 2;
    for (std::size_t k = 0; k < table.columns.size(); ++k) {
      const cli::TableColumn& column = table.columns[k];
      const int c = static_cast<int>(k + 1);
      if (column.text) {
        const std::int16_t want = column.codes[r] ? static_cast<std::int16_t>(column.codes[r]) : 32767;
        VELTRUM_FUZZ_CHECK(column.labels.size() > 32767 || integer_field_value(arrays, line, c) == want,
                           "a label reads as its number");
        continue;
      }
      const std::string cell(column.cell(r));
      const float value = field_value(arrays, line, c);
      if (cell.empty()) {
        VELTRUM_FUZZ_CHECK(value == arrays.missing[c], "a missing cell reads as missing");
      } else {
        VELTRUM_FUZZ_CHECK(value == to_float(read_number(cell)) && std::isfinite(value) && value != missing_code,
                           "a number reads as its text does");
      }
    }
  }
  return 0;
}
