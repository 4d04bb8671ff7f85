// The report file "C:\Ausgabe.": Windows-1252 text, CR LF line ends, one report at a time.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace veltrum {

struct Module;

class ReportFile {
 public:
  ReportFile() = default;
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;
  ~ReportFile() { close(); }

  // Creates (or empties) the file at a real path; false when it cannot be written.
  bool create(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  // Closes the file; false when a write or the close itself failed (a full disk, ...) since it was
  // created: the file on disk is then not the whole report.
  bool close();

  // While strict, a write to a report that is not open raises RunError (inside a test error
  // trap the first such write ends the test); otherwise it has no effect.
  void set_strict(bool strict) { strict_ = strict; }
  bool strict() const { return strict_; }

  // Appends the characters to the current line.
  void write(std::string_view text);
  // Appends CR LF.
  void end_line();
  // Text, then the line end.
  void line(std::string_view text = {}) { write(text), end_line(); }
  // The number writers below raise RunError for a value that is not a number or beyond the float
  // range (report_value() below): inside a test error trap "Berechnung ist nicht möglich!".
  // The plain number form followed by one blank.
  void plain(float value);
  // One value formatted by a picture.
  void picture(std::string_view picture, float value);
  // The 11-character adaptive number field.
  void adaptive(float value);
  // A whole line of up to six picture fields.
  void multi_field(std::string_view picture, const std::array<float, 6>& values);

 private:
  bool writable();
  // The stream's buffer: one write to the file system per 64 KB of report rather than per 4 KB.
  // Declared before the stream so that it outlives it.
  std::unique_ptr<char[]> buffer_;
  std::FILE* file_ = nullptr;
  bool strict_ = false;
  bool failed_ = false;
};

// A value on its way into the report: itself, or RunError when it is not a number or beyond the
// float range (an arithmetic fault of the computation, never a report value).  The number writers
// of ReportFile check their values so; a line built from picture_format checks them here.
float report_value(float value);

// The title in capitals as the report header shows it: one trailing "." dropped, a-z to A-Z,
// ü ä ö to Ü Ä Ö, ß to SS.
std::string report_title(std::string_view title);

// The header's second line: the title, then (below 60 characters) blanks to 61 and the date.
std::string header_title_line(std::string_view upper_title, int day, int month, int year, int hour, int minute);

// The " Achtung!" text when the report could not be written whole.
inline constexpr std::string_view report_write_error_text =
    "Schreibfehler:\rDie Ausgabedatei ist unvollständig,\rmöglicherweise ist der Datenträger voll.";

// Opens "C:\Ausgabe." and writes the header block; on failure shows the write-protection message
// and leaves the report closed.
void open_report(Module& module, std::string_view title);

// "Stichwort: " and the keyword, then `blank_lines` empty lines; nothing when it is empty.
void write_keyword(ReportFile& report, std::string_view keyword, int blank_lines);

}  // namespace veltrum
