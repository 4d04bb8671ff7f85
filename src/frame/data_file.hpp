// The active data file: a header line declaring the variables (name;type;width;decimals fields
// separated by one blank) and fixed-width records after it.
//
// The header fills the module's data-file arrays; the two field readers take one value out of a
// record line, with the module's rules for missing entries.  Loaders walk the records with
// DataFileLines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/numbers.hpp"

namespace veltrum {

struct Module;
struct DataFileArrays;

// The name at index 1 that marks "no variables".
inline constexpr std::string_view no_variables = "Is nix.";
// Missing-value code of every column after a header read.
inline constexpr float missing_code = 1E32f;
// Missing-value code of a column once the integer reader met a missing entry in it.
inline constexpr float integer_missing_code = 32767.0f;
inline constexpr int max_variables = 200;

// The lines of a data file.  A line ends at a carriage return, a line feed directly after it
// belonging to the same line end; a lone line feed also ends a line.  A character 26 ends the
// data.  The bytes are taken as they are (Windows-1252); the file is read in blocks.
class DataFileLines {
 public:
  DataFileLines() = default;
  explicit DataFileLines(const std::string& real_path) { open(real_path); }
  DataFileLines(const DataFileLines&) = delete;
  DataFileLines& operator=(const DataFileLines&) = delete;
  ~DataFileLines();

  // Opens a file by its real path (closing any other); false when it cannot be read.
  bool open(const std::string& real_path);
  void close();
  bool is_open() const { return file_ != nullptr; }
  // Whether the open file can be read (a directory or a file without read access cannot).
  bool readable();
  // Whether a read failed after the file was opened.
  bool failed() const { return failed_; }
  // The next line without its line end; false at the end of the data.
  bool next(std::string& line);

 private:
  // Reads the next block; false at the end of the file or on a read error (which sets failed_).
  bool fill();

  std::FILE* file_ = nullptr;
  bool ended_ = false;
  bool failed_ = false;
  std::vector<char> block_;
  std::size_t position_ = 0;  // the next byte of block_ to take
  std::size_t filled_ = 0;    // the bytes of block_ that hold data
};

// The " Achtung!" text for a data file that exists but cannot be read.
inline constexpr std::string_view unreadable_file_text =
    "Die Datei kann nicht gelesen werden,\rmöglicherweise fehlt die Leseberechtigung.";

// Reads line 1 of the active data file (module.data_file_name, through the host's path mapping)
// into module.data and sets `count` to the number of variables, or 0.  Without a file: "Is nix."
// at index 1 and no message; a file that cannot be read, a faulty header (also one with an empty
// name) or more than 200 variables: the same, with the " Achtung!" message.
void read_header(Module& module, std::int16_t& count);

// The first step of every data-file loader: the stop flag cleared and the header read.  False,
// with the dialog result "cancelled", when the file declares no variables (its message, if any,
// has been shown).
bool begin_loading(Module& module);

// Checks a header line (commas already replaced) and, when it is valid and has at most 200
// fields, fills names, column starts and missing-value codes; returns the number of fields, 0 for
// a faulty line, -1 for more than 200 fields.  No messages.
int parse_header_line(DataFileArrays& data, std::string line);

// The text of column `column` in a record line: from its start position, as long as the column
// is wide, shorter when the line is shorter.
std::string_view column_text(const DataFileArrays& data, std::string_view line, int column);

// The column's value as a 32-bit float, or its missing-value code (also for a number beyond the
// float range).
float field_value(DataFileArrays& data, std::string_view line, int column);

// Whether the column holds a number beyond the float range, or a written infinity or NaN ("inf",
// "-Infinity", "nan"): a value the module cannot keep, which field_value gives as missing.
bool beyond_float_range(const DataFileArrays& data, std::string_view line, int column);

// A cell's text as a message shows it: its first word, without the blanks around it.
std::string_view written_value(std::string_view text);

// The number in the column as read, or nothing for a missing entry (blank, two points, no digits).
std::optional<real> field_number(const DataFileArrays& data, std::string_view line, int column);
// The column's value rounded to a whole number (a half to the even neighbour), or 32767 for a
// missing entry or one above 32767 in magnitude; such an entry also sets the column's
// missing-value code to 32767.
std::int16_t integer_field_value(DataFileArrays& data, std::string_view line, int column);
// The same for a number already read with field_number.
std::int16_t integer_value(DataFileArrays& data, int column, const std::optional<real>& number);

// A record that holds nothing but blanks (or nothing) is skipped by the loaders.
bool is_blank_line(std::string_view line);

// Opens the active data file for a loader's pass over its records: the header line is already
// read past, unless the names say that there are no variables.  Throws RunError when the file
// cannot be opened.
void open_records(Module& module, DataFileLines& lines);

}  // namespace veltrum
