#include "frame/report.hpp"

#include <cmath>

#include "frame/errors.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"

namespace veltrum {

bool ReportFile::create(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "wb");
  failed_ = false;
  if (!file_) return false;
  constexpr std::size_t buffer_size = 65536;
  if (!buffer_) buffer_ = std::make_unique<char[]>(buffer_size);
  std::setvbuf(file_, buffer_.get(), _IOFBF, buffer_size);
  return true;
}

bool ReportFile::close() {
  if (file_ && std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  const bool whole = !failed_;
  failed_ = false;
  return whole;
}

bool ReportFile::writable() {
  if (file_) return true;
  if (strict_) throw RunError("the report file is not open");
  return false;
}

void ReportFile::write(std::string_view text) {
  if (writable() && !text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
}

void ReportFile::end_line() { write("\r\n"); }

float report_value(float value) {
  if (!std::isfinite(value)) throw RunError("a result beyond the float range");
  return value;
}

void ReportFile::plain(float value) { write(plain_number(report_value(value))); }

void ReportFile::picture(std::string_view pic, float value) { write(picture_format(pic, report_value(value))); }

void ReportFile::adaptive(float value) { write(adaptive_number(report_value(value))); }

void ReportFile::multi_field(std::string_view pic, const std::array<float, 6>& values) {
  for (const float v : values) report_value(v);
  line(multi_field_line(pic, values));
}

std::string report_title(std::string_view title) {
  if (!title.empty() && title.back() == '.') title.remove_suffix(1);
  std::string upper;
  for (const char c : title) {
    // The Windows-1252 umlauts in capitals (ü Ü, ä Ä, ö Ö), and ß as SS.
    if (const auto u = std::string_view("\xFC\xE4\xF6").find(c); u != std::string_view::npos)
      upper += "\xDC\xC4\xD6"[u];
    else if (c == '\xDF')
      upper += "SS";
    else
      upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return upper;
}

std::string header_title_line(std::string_view upper_title, int day, int month, int year, int hour, int minute) {
  std::string line(upper_title);
  if (line.size() >= 60) return line;
  line.resize(61, ' ');
  char date[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d (%02d:%02d)", day % 100, month % 100, year % 10000, hour % 100,
                minute % 100);
  return line + date;
}

void open_report(Module& module, std::string_view title) {
  const std::string upper = report_title(title);
  module.report.close();
  if (!module.report.create(module.host.real_path(report_path))) {
    module.host.message_box(join_lines({"Schreibschutzfehler:", "Stammverzeichnis nicht beschreibbar."}), style::access,
                            caption::access);
    return;
  }
  const LocalTime t = module.host.now();
  ReportFile& r = module.report;
  r.line();
  r.line(header_title_line(upper, t.day, t.month, t.year, t.hour, t.minute));
  r.line(std::string(79, '_'));
  r.line();
  r.line();
}

void write_keyword(ReportFile& report, std::string_view keyword, int blank_lines) {
  if (keyword.empty()) return;
  report.line("Stichwort: " + std::string(keyword));
  for (int i = 0; i < blank_lines; ++i) report.line();
}

}  // namespace veltrum
