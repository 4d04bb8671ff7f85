#include "frame/data_file.hpp"

#include <algorithm>
#include <cmath>

#include "frame/errors.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/number_reading.hpp"
#include "frame/numbers.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

// ---- lines -------------------------------------------------------------------------------------

DataFileLines::~DataFileLines() { close(); }

bool DataFileLines::open(const std::string& real_path) {
  close();
  file_ = std::fopen(real_path.c_str(), "rb");
  ended_ = false;
  failed_ = false;
  position_ = filled_ = 0;
  return file_ != nullptr;
}

void DataFileLines::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool DataFileLines::fill() {
  constexpr std::size_t block_size = 65536;
  if (block_.size() != block_size) block_.resize(block_size);
  position_ = 0;
  filled_ = file_ ? std::fread(block_.data(), 1, block_.size(), file_) : 0;
  if (filled_ == 0 && file_ && std::ferror(file_)) failed_ = true;
  return filled_ != 0;
}

bool DataFileLines::readable() {
  if (!file_) return false;
  return position_ < filled_ || fill() || !failed_;
}

bool DataFileLines::next(std::string& line) {
  line.clear();
  if (!file_ || ended_) return false;
  for (;;) {
    if (position_ == filled_ && !fill()) {
      // The last line needs no line end; an end of data right after a line end adds no line.
      ended_ = true;
      return !line.empty();
    }
    const char* const begin = block_.data() + position_;
    const char* const stop = block_.data() + filled_;
    const char* end = begin;
    while (end != stop && *end != '\r' && *end != '\n' && *end != 26) ++end;
    line.append(begin, end);
    position_ += static_cast<std::size_t>(end - begin);
    if (end == stop) continue;  // the line goes on in the next block
    const char c = *end;
    ++position_;
    if (c == 26) {
      ended_ = true;
      return !line.empty();
    }
    // A line feed directly after a carriage return belongs to the same line end, also when it
    // is the first byte of the next block.
    if (c == '\r' && (position_ < filled_ || fill()) && block_[position_] == '\n') ++position_;
    return true;
  }
}

// ---- header ------------------------------------------------------------------------------------

namespace {

// The text after the n-th ";" of `text` (empty when there are fewer).
std::string_view after_semicolon(std::string_view text, int n) {
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    pos = text.find(';', pos);
    if (pos == std::string_view::npos) return {};
    ++pos;
  }
  return text.substr(pos);
}

void mark_no_variables(DataFileArrays& data, std::int16_t& count) {
  count = 0;
  data.names[1] = std::string(no_variables);
}

}  // namespace

int parse_header_line(DataFileArrays& data, std::string line) {
  const auto fields = std::count(line.begin(), line.end(), ' ') + 1;
  const auto semicolons = std::count(line.begin(), line.end(), ';');
  if (line.empty() || semicolons != 3 * fields) return 0;
  if (fields > max_variables) return -1;
  // An empty name marks the end of the names for the lists and the report: a variable without a
  // name would hide itself and every later one.
  if (line.front() == ';' || line.find(" ;") != std::string::npos) return 0;

  const int f = static_cast<int>(fields);
  // Each pass takes the field after the leading blank and then drops it, so `rest` always starts
  // with the blank in front of the next field.
  std::string rest = " " + line + " ";
  data.starts[0] = 0;
  data.starts[1] = 1;
  for (int i = 1; i <= f; ++i) {
    const std::string_view r(rest);
    const auto semicolon = r.find(';');
    data.names[i] =
        std::string(r.substr(1, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - 1));
    const real width = round_even(read_number(after_semicolon(r, 2)));
    // The decimals after the third ";" describe how the host writes the values; not used here.
    data.starts[i + 1] = to_int16(static_cast<real>(data.starts[i]) + width + 1 + (i == 1 ? 1 : 0));
    data.missing[i] = missing_code;
    const auto blank = rest.find(' ', 1);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank);
  }
  if (f < max_variables) data.names[f + 1].clear();
  return f;
}

void read_header(Module& module, std::int16_t& count) {
  DataFileArrays& data = module.data;
  if (module.data_file_name.empty() || !module.host.file_exists(module.data_file_name)) {
    mark_no_variables(data, count);
    return;
  }

  std::string line;
  bool read = false;
  {
    DataFileLines lines;
    if (!lines.open(module.host.real_path(module.data_file_name)) || !lines.readable()) {
      mark_no_variables(data, count);
      attention_box(module.host, unreadable_file_text);
      return;
    }
    read = lines.next(line);
  }
  std::replace(line.begin(), line.end(), ',', '-');

  const int fields = read ? parse_header_line(data, line) : 0;
  if (fields == 0) {
    mark_no_variables(data, count);
    attention_box(module.host,
                  join_lines({"Die  Datei  ist  l e e r  oder  fehlerhaft,", "möglicherweise bedingt durch Import."}));
    return;
  }
  if (fields < 0) {
    mark_no_variables(data, count);
    attention_box(module.host, join_lines({"Die Datei  umfaßt mehr als 200 Spalten/Variablen.",
                                           "Kalvo. kann nur maximal 200 Variablen bearbeiten."}));
    return;
  }
  count = static_cast<std::int16_t>(fields);
}

// ---- fields ------------------------------------------------------------------------------------

std::string_view column_text(const DataFileArrays& data, std::string_view line, int column) {
  const int start = data.starts[column];
  const int length = data.starts[column + 1] - start - 1;
  if (start < 1 || length <= 0 || static_cast<std::size_t>(start) > line.size()) return {};
  return line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

namespace {

// Blank (or empty), or exactly two points: the entry is missing before any number is read.
bool plainly_missing(std::string_view text) {
  return text.find_first_not_of(' ') == std::string::npos || std::count(text.begin(), text.end(), '.') == 2;
}

// A text that reads as 0 is a zero only when a "0" comes first once blanks, points and signs are
// gone ("0", "-0.0", "000"); letters or a lone sign are missing.
bool written_zero(std::string_view text) {
  for (const char c : text) {
    if (c == ' ' || c == '.' || c == '+' || c == '-') continue;
    return c == '0';
  }
  return false;
}

}  // namespace

float field_value(DataFileArrays& data, std::string_view line, int column) {
  const std::string_view text = column_text(data, line, column);
  if (plainly_missing(text)) return data.missing[column];
  const real v = read_number(text);
  // A number beyond the float range is no value the module can hold: unreadable like a letter.
  if (v != 0) return std::isfinite(to_float(v)) ? to_float(v) : data.missing[column];
  return written_zero(text) ? 0.0f : data.missing[column];
}

std::string_view written_value(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return text.substr(0, text.find(' '));
}

bool beyond_float_range(const DataFileArrays& data, std::string_view line, int column) {
  const std::string_view text = column_text(data, line, column);
  if (plainly_missing(text)) return false;
  if (const real v = read_number(text); v != 0) return !std::isfinite(to_float(v));
  std::string word(written_value(text));
  if (!word.empty() && (word[0] == '+' || word[0] == '-')) word.erase(0, 1);
  for (auto& c : word) c = static_cast<char>(c | 0x20);  // letters in lower case
  return word == "inf" || word == "infinity" || word == "nan";
}

std::optional<real> field_number(const DataFileArrays& data, std::string_view line, int column) {
  const std::string_view text = column_text(data, line, column);
  if (plainly_missing(text)) return std::nullopt;
  const real v = read_number(text);
  if (v == 0 && !written_zero(text)) return std::nullopt;
  return v;
}

std::int16_t integer_field_value(DataFileArrays& data, std::string_view line, int column) {
  return integer_value(data, column, field_number(data, line, column));
}

std::int16_t integer_value(DataFileArrays& data, int column, const std::optional<real>& number) {
  const bool missing = !number || std::fabs(*number) > 32767;
  const real v = number.value_or(0);
  if (missing) {
    data.missing[column] = integer_missing_code;
    return 32767;
  }
  return to_int16(v);
}

bool is_blank_line(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

void open_records(Module& module, DataFileLines& lines) {
  if (!lines.open(module.host.real_path(module.data_file_name)))
    throw RunError("the data file " + module.data_file_name + " cannot be read");
  std::string header;
  if (module.data.names[1] != no_variables) lines.next(header);
}

bool begin_loading(Module& module) {
  clear_stop(module);
  std::int16_t variables = 0;
  read_header(module, variables);
  if (variables == 0) cancel(module);
  return variables != 0;
}

}  // namespace veltrum
