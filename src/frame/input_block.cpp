#include "frame/input_block.hpp"

#include <string>

#include "frame/data_file.hpp"
#include "frame/module.hpp"
#include "frame/report.hpp"

namespace veltrum {

bool has_variable_names(const DataFileArrays& data) { return data.names[1] != no_variables; }

void write_input_file(Module& module) {
  module.report.line();
  module.report.line("Eingabedatei ist " + module.data_file_name);
}

void write_variable(ReportFile& report, const DataFileArrays& data, int column, bool named, std::string_view close) {
  report.plain(static_cast<float>(column));
  if (named) report.write("(" + data.names[column] + std::string(close));
}

void write_group_line(ReportFile& report, const DataFileArrays& data, int group_variable, bool named,
                      std::int16_t group) {
  report.write("  und Gruppe Var.");
  write_variable(report, data, group_variable, named, ") ");
  report.write("=");
  report.plain(group);
  report.end_line();
}

void write_group_title(ReportFile& report, std::int16_t group) {
  report.write("Gruppe");
  report.plain(group);
  report.end_line();
  report.line();
}

void write_listing_row(ReportFile& report, std::string_view number_picture, int row, std::span<const float> values,
                       int wrap) {
  report.picture(number_picture, static_cast<float>(row));
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (wrap > 0 && k > 0 && k % static_cast<std::size_t>(wrap) == 0) {
      report.end_line();
      report.write("   ");
    }
    report.adaptive(values[k]);
  }
  report.end_line();
}

}  // namespace veltrum
