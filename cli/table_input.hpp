// Delimited text (CSV, TSV) read into a table of named columns, as people hold data: a header row
// of names, then one record per row.  Numbers are kept as written, a column with any cell that is
// neither a number nor missing is a text column whose labels are numbered in order of first
// appearance, and names are made fit for the host's data file.  The parsing is libcsv's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veltrum::cli {

enum class Encoding { utf8, windows1252 };

struct TableFormat {
  char separator = ',';
  char decimal = '.';  // ',' in tables written by German spreadsheets
  Encoding encoding = Encoding::utf8;
  // Cells that stand for a missing value besides the empty cell and NA and NaN in any case;
  // compared with the cell exactly.
  std::vector<std::string> missing;
};

// Input the table cannot be made from.  `row` counts the lines of the input as a text editor
// does (the header is row 1), `column` the cells of a row from 1.
class TableError : public std::runtime_error {
 public:
  TableError(std::size_t row, std::size_t column, const std::string& why, std::string column_name = {})
      : std::runtime_error(why), row(row), column(column), column_name(std::move(column_name)) {}
  std::size_t row, column;
  std::string column_name;  // the header's name of the column, when the fault is below the header
};

// A number's text in a numeric column may be written into the data file at most this long, so
// that 200 columns fit the module's 16-bit column positions.
inline constexpr std::size_t longest_number = 150;
// The most variables the module takes.
inline constexpr std::size_t most_columns = 200;
// The most groups a group variable may hold (its values 1 to 1000).
inline constexpr std::size_t most_labels = 1000;

struct TableColumn {
  std::string name;       // as the header row gives it (UTF-8)
  std::string file_name;  // as the data file holds it: without blanks, ";", "," and control
                          // characters, not empty, different from every other column's
  bool text = false;      // some cell is neither a number nor missing
  // Each record's cell: a number as written (with a decimal point), a text column's label, or
  // empty for a missing value.  The cells are kept one after the other in one text.
  std::string_view cell(std::size_t record) const {
    const std::size_t from = record ? cell_ends[record - 1] : 0;
    return std::string_view(cell_text).substr(from, cell_ends[record] - from);
  }
  std::string cell_text;
  std::vector<std::uint32_t> cell_ends;  // where each record's cell ends in cell_text
  // Text columns: label k + 1 at index k, and each record's label number (0 when missing).
  std::vector<std::string> labels;
  std::vector<std::uint32_t> codes;
  std::size_t first_text_record = 0;  // text columns: the record of the first cell that is no number
};

struct Table {
  std::vector<TableColumn> columns;
  std::vector<std::size_t> record_rows;  // the input row of each record
  std::size_t records() const { return record_rows.size(); }
};

// The separator of a ".csv" table: ';' when its first line has semicolons and no commas, as
// German spreadsheets write it, else ','.
char guess_separator(std::string_view bytes);

// Reads a whole input (a UTF-8 byte order mark is dropped).  Throws TableError for an empty
// input, a header without records, more than 200 columns, a ragged row, an unterminated quote or
// a quote inside an unquoted cell, a NUL byte, text that is not of the encoding or has a character
// outside Windows-1252, and for a number of a numeric column that the module cannot hold as a
// 4-byte float (beyond its range, not zero but below it, equal to the missing-value code 1E32,
// or too long to be written).  Nothing is read past the first fault of the input's structure.
Table read_table(std::string_view bytes, const TableFormat& format);

// The column of `var`: a data-file name, else a name of the header row, else a column number
// (1 for the first); -1 when it is none of them.  Names are looked for first, as the options do.
int find_column(const Table& table, std::string_view var);

// "1 = OJ, 2 = VC": a text column's numbering.
std::string numbering(const TableColumn& column);

}  // namespace veltrum::cli
