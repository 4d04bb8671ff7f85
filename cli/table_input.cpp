#include "table_input.hpp"

#include <csv.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "frame/data_file.hpp"
#include "frame/number_reading.hpp"
#include "headless/codepage.hpp"

namespace veltrum::cli {

namespace {

bool same_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A number as the module reads it, written whole: an optional sign, digits with at most one
// decimal mark (`decimal`), an optional exponent of E or e, an optional sign and digits.  The
// module would read further forms (a D exponent, text after the number); those stay text here.
bool is_number(std::string_view s, char decimal, bool& exponent) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
  if (i < s.size() && s[i] == decimal) {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, digits = true;
  }
  if (!digits) return false;
  exponent = i < s.size() && (s[i] == 'e' || s[i] == 'E');
  if (exponent) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
  }
  return i == s.size();
}

// R and spreadsheets write infinite values as words; they are numbers no float holds.
bool is_infinity(std::string_view s) {
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
  return same_ignoring_case(s, "inf") || same_ignoring_case(s, "infinity");
}

// Why the module cannot take a number of a numeric column, or nothing.  A plain decimal of up
// to 30 characters lies within the float range and is no missing-value code; others are read as
// the module reads them.
const char* unfit_number(std::string_view s, char decimal, bool exponent) {
  if (s.size() > longest_number) return "is longer than a number of the data file may be";
  if (s.size() <= 30 && !exponent) return nullptr;
  std::string written(s);
  for (char& c : written)
    if (c == decimal) c = '.';
  const real v = read_number(written);
  const float stored = to_float(v);
  if (!std::isfinite(stored)) return "is beyond the range of the 4-byte floats the module stores";
  // A mantissa with a digit other than 0 is no zero, even where its exponent is so far below the
  // range that the long double reading underflows to 0 as well (the module would take it as missing).
  const bool nonzero = written.substr(0, written.find_first_of("eE")).find_first_of("123456789") != std::string::npos;
  if (stored == 0 && nonzero) return "is not zero but below the range of the 4-byte floats the module stores";
  if (stored == missing_code) return "is the value the data file uses for a missing value";
  return nullptr;
}

bool valid_utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return false;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((n >> 6) != 0x2) return false;
      c = (c << 6) | (n & 0x3F);
    }
    constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// Whether a cell is plain ASCII, which every encoding reads alike; a NUL byte is refused.
bool plain_ascii(std::string_view raw, std::size_t row, std::size_t column) {
  bool ascii = true;
  for (const char c : raw) {
    if (c == 0) throw TableError(row, column, "a NUL byte; the input is no text table");
    ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  }
  return ascii;
}

// A cell's text in UTF-8, or a TableError naming what is wrong with its bytes.
std::string decoded(std::string_view raw, Encoding encoding, std::size_t row, std::size_t column) {
  if (encoding == Encoding::windows1252) {
    for (const char c : raw)
      if (const auto b = static_cast<unsigned char>(c); b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
        throw TableError(row, column, "the byte " + std::to_string(b) + " is no Windows-1252 character");
    return cp1252_to_utf8(raw);
  }
  if (!valid_utf8(raw))
    throw TableError(row, column,
                     "the text is not UTF-8 (for a table of an older spreadsheet try --encoding windows-1252)");
  std::string text(raw);
  if (cp1252_to_utf8(utf8_to_cp1252(text)) != text)
    throw TableError(row, column,
                     "\"" + text + "\" has a character outside Windows-1252, which the module cannot hold");
  return text;
}

// What libcsv hands to its callbacks while a table is read.  The callbacks are C functions called
// from C: they never throw, they keep the first fault and ignore everything after it.
struct Reader {
  const TableFormat* format = nullptr;
  Table* table = nullptr;
  std::vector<bool> numeric;              // per column: no text cell so far
  std::vector<std::size_t> unfit_record;  // per column: 1 + the record of the first unfit number
  std::vector<const char*> unfit_why;     // and why it is unfit
  std::size_t row = 1;                    // the input row being parsed
  std::size_t start_row = 1;              // the row where a record beginning now begins
  std::size_t record_row = 0;             // the row where the current record began
  std::size_t cell = 0;                   // cells of the current record so far
  std::size_t expected_records = 0;       // the lines of the input, for the columns' room
  std::size_t expected_bytes = 0;
  bool header_done = false;
  std::unique_ptr<TableError> fault;

  void fail(std::size_t at_row, std::size_t column, const std::string& why) {
    if (fault) return;
    const bool named = header_done && column >= 1 && column <= table->columns.size();
    fault = std::make_unique<TableError>(at_row, column, why, named ? table->columns[column - 1].name : "");
  }

  void take_cell(std::string_view raw) {
    if (fault) return;
    if (cell == 0) record_row = start_row;
    ++cell;
    std::string converted;
    std::string_view text = raw;
    try {
      if (!plain_ascii(raw, row, cell)) text = converted = decoded(raw, format->encoding, row, cell);
    } catch (const TableError& e) {
      fail(e.row, e.column, e.what());
      return;
    }
    if (!header_done) {
      if (cell > most_columns) {
        fail(row, cell, "more than the " + std::to_string(most_columns) + " variables the module takes");
        return;
      }
      table->columns.emplace_back().name = std::string(text);
      return;
    }
    if (cell > table->columns.size()) {
      fail(row, cell,
           "this row has more cells than the header row has names (" + std::to_string(table->columns.size()) + ")");
      return;
    }
    const std::size_t k = cell - 1;
    TableColumn& column = table->columns[k];
    const std::size_t record = table->record_rows.size();
    if (is_missing(text)) {
      column.cell_ends.push_back(static_cast<std::uint32_t>(column.cell_text.size()));
      return;
    }
    if (numeric[k]) {
      bool exponent = false;
      if (is_number(text, format->decimal, exponent)) {
        if (unfit_record[k] == 0)
          if (const char* why = unfit_number(text, format->decimal, exponent))
            unfit_record[k] = record + 1, unfit_why[k] = why;
      } else if (is_infinity(text)) {
        if (unfit_record[k] == 0)
          unfit_record[k] = record + 1, unfit_why[k] = "is beyond the range of the 4-byte floats the module stores";
      } else {
        numeric[k] = false;
        column.first_text_record = record;
      }
    }
    column.cell_text += text;
    column.cell_ends.push_back(static_cast<std::uint32_t>(column.cell_text.size()));
  }

  bool is_missing(std::string_view text) const {
    for (const auto& token : format->missing)
      if (text == token) return true;
    // NA and NaN in any case (ASCII letters: | 0x20 is the small letter).
    const auto small = [&](std::size_t i) { return static_cast<char>(text[i] | 0x20); };
    return text.empty() || ((text.size() == 2 || text.size() == 3) && small(0) == 'n' && small(1) == 'a' &&
                            (text.size() == 2 || small(2) == 'n'));
  }

  void end_record() {
    if (fault) return;
    if (!header_done) {
      header_done = true;
      const std::size_t n = table->columns.size();
      numeric.assign(n, true);
      for (auto& column : table->columns) {
        column.cell_ends.reserve(expected_records);
        column.cell_text.reserve(expected_bytes / n);
      }
      unfit_record.assign(n, 0);
      unfit_why.assign(n, nullptr);
    } else if (cell < table->columns.size()) {
      fail(record_row, cell + 1,
           "this row has " + std::to_string(cell) + " cells, the header row " + std::to_string(table->columns.size()) +
               " names");
      return;
    } else {
      table->record_rows.push_back(record_row);
    }
    cell = 0;
  }

  static void on_cell(void* text, std::size_t length, void* self) {
    auto& reader = *static_cast<Reader*>(self);
    try {
      reader.take_cell({static_cast<const char*>(text), text ? length : 0});
    } catch (const std::bad_alloc&) {
      reader.fail(reader.row, reader.cell, "not enough memory for the table");
    }
  }
  static void on_record(int, void* self) {
    auto& reader = *static_cast<Reader*>(self);
    try {
      reader.end_record();
    } catch (const std::bad_alloc&) {
      reader.fail(reader.row, reader.cell, "not enough memory for the table");
    }
  }
};

int blank_only(unsigned char c) { return c == ' ' ? 1 : 0; }

// The data-file names: blanks, ";", "," and control characters become "_" (the header line
// separates its fields by blanks and the parts of a field by ";", and reads "," as "-"); an empty
// name becomes V and its column number; a name met before gets "_2", "_3", ... .
// A name that the data file holds as it is keeps it, even when a changed name would be the same.
void name_columns(Table& table) {
  const auto fit = [](char c) {
    return c != ' ' && c != ';' && c != ',' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
  };
  std::unordered_set<std::string> taken;
  std::vector<bool> kept(table.columns.size());
  for (std::size_t k = 0; k < table.columns.size(); ++k) {
    const std::string& name = table.columns[k].name;
    kept[k] = !name.empty() && std::all_of(name.begin(), name.end(), fit) && taken.insert(name).second;
    if (kept[k]) table.columns[k].file_name = name;
  }
  for (std::size_t k = 0; k < table.columns.size(); ++k) {
    if (kept[k]) continue;
    std::string name = table.columns[k].name;
    for (char& c : name)
      if (!fit(c)) c = '_';
    if (name.empty()) name = std::string("V").append(std::to_string(k + 1));
    std::string unique = name;
    for (int n = 2; taken.count(unique); ++n) unique = std::string(name).append("_").append(std::to_string(n));
    taken.insert(unique);
    table.columns[k].file_name = std::move(unique);
  }
}

// A text column's labels numbered in order of first appearance.
void number_labels(TableColumn& column) {
  std::unordered_map<std::string_view, std::uint32_t> numbers;
  column.codes.reserve(column.cell_ends.size());
  for (std::size_t r = 0; r < column.cell_ends.size(); ++r) {
    const std::string_view cell = column.cell(r);
    if (cell.empty()) {
      column.codes.push_back(0);
      continue;
    }
    const auto [at, added] = numbers.try_emplace(cell, static_cast<std::uint32_t>(column.labels.size() + 1));
    if (added) column.labels.emplace_back(cell);
    column.codes.push_back(at->second);
  }
}

}  // namespace

char guess_separator(std::string_view bytes) {
  const std::string_view first = bytes.substr(0, bytes.find_first_of("\r\n"));
  return first.find(';') != std::string_view::npos && first.find(',') == std::string_view::npos ? ';' : ',';
}

Table read_table(std::string_view bytes, const TableFormat& format) {
  if (format.encoding == Encoding::utf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  // A column's cells end at 32-bit positions.
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
    throw TableError(1, 1, "the input is larger than the 4 GB a table may have");
  Table table;
  Reader reader;
  reader.format = &format;
  reader.table = &table;
  reader.expected_records = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  reader.expected_bytes = bytes.size();

  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL) != 0)
    throw std::runtime_error("cannot start the CSV parser");
  const std::unique_ptr<csv_parser, void (*)(csv_parser*)> freed(&parser, csv_free);
  csv_set_delim(&parser, static_cast<unsigned char>(format.separator));
  // Blanks and tabs around an unquoted cell are dropped (libcsv's default), but no tab that
  // separates the cells.
  if (format.separator == '\t') csv_set_space_func(&parser, blank_only);

  // The input goes to the parser one line at a time, so that every cell knows its row.  A line
  // ends after a line feed, or after a carriage return not followed by one.  libcsv's state says
  // whether a line begins a record (pstate 0, no row begun) or goes on in a quoted cell (pstate
  // 2, a cell begun, with quoted set).
  std::size_t quote_row = 0;  // where the quoted cell still open began
  std::size_t from = 0;
  while (from < bytes.size() && !reader.fault) {
    std::size_t to = std::min(bytes.find('\n', from), bytes.size());
    const std::size_t cr = bytes.substr(0, to).find('\r', from);
    if (cr != std::string_view::npos && cr + 1 < to) to = cr;  // a carriage return alone ends the line
    if (to < bytes.size()) ++to;
    const bool was_quoted = parser.quoted && parser.pstate == 2;
    if (parser.pstate == 0) reader.start_row = reader.row;
    if (csv_parse(&parser, bytes.data() + from, to - from, Reader::on_cell, Reader::on_record, &reader) != to - from &&
        !reader.fault) {
      if (csv_error(&parser) == CSV_EPARSE)
        reader.fail(reader.row, reader.cell + 1, "a quote inside an unquoted cell, or text after a closing quote");
      else
        reader.fail(reader.row, reader.cell + 1, csv_strerror(csv_error(&parser)));
    }
    if (!was_quoted && parser.quoted && parser.pstate == 2) quote_row = reader.row;
    ++reader.row;
    from = to;
  }
  if (!reader.fault && csv_fini(&parser, Reader::on_cell, Reader::on_record, &reader) != 0 && !reader.fault)
    reader.fail(quote_row, reader.cell + 1, "a quote that is never closed");
  if (reader.fault) throw *reader.fault;
  if (table.columns.empty()) throw TableError(1, 1, "the input is empty: no header row");
  if (table.records() == 0) throw TableError(2, 1, "the header row has no records below it");

  name_columns(table);
  for (std::size_t k = 0; k < table.columns.size(); ++k) {
    TableColumn& column = table.columns[k];
    if (!reader.numeric[k]) {
      column.text = true;
      number_labels(column);
      continue;
    }
    if (const std::size_t record = reader.unfit_record[k]) {
      const std::string cell(column.cell(record - 1));
      throw TableError(table.record_rows[record - 1], k + 1, "the number " + cell + " " + reader.unfit_why[k],
                       column.name);
    }
    if (format.decimal != '.')
      for (char& c : column.cell_text)
        if (c == format.decimal) c = '.';
  }
  return table;
}

int find_column(const Table& table, std::string_view var) {
  const auto count = static_cast<int>(table.columns.size());
  for (int k = 0; k < count; ++k)
    if (table.columns[static_cast<std::size_t>(k)].file_name == var) return k;
  for (int k = 0; k < count; ++k)
    if (table.columns[static_cast<std::size_t>(k)].name == var) return k;
  if (var.empty() || var.size() > 4 || var.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  const int number = std::stoi(std::string(var));
  return number >= 1 && number <= count ? number - 1 : -1;
}

std::string numbering(const TableColumn& column) {
  std::string text;
  for (std::size_t k = 0; k < column.labels.size(); ++k)
    text += (k ? ", " : "") + std::to_string(k + 1) + " = " + column.labels[k];
  return text;
}

}  // namespace veltrum::cli
