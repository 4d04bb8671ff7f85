// The report lines a loader writes around the data it read: the input block before the results
// (which file, which variables, which groups) and the listing of the values read.  Writing only;
// the loaders read with frame/records.hpp.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace veltrum {

struct Module;
struct DataFileArrays;
class ReportFile;

// Whether the data file carries variable names (its header gave variables).
bool has_variable_names(const DataFileArrays& data);

// An empty line, then "Eingabedatei ist " and the data file's name.
void write_input_file(Module& module);

// A variable as the input block names it: its column in the plain number form (with its trailing
// blank) and, when `named`, "(" + its name + `close`.
void write_variable(ReportFile& report, const DataFileArrays& data, int column, bool named,
                    std::string_view close = ")");

// "  und Gruppe Var." with the group variable and "=" the group number taken, then the line end.
void write_group_line(ReportFile& report, const DataFileArrays& data, int group_variable, bool named,
                      std::int16_t group);

// "Gruppe" and the group number in the plain number form, the line end, then an empty line.
void write_group_title(ReportFile& report, std::int16_t group);

// One listed record: the row number by `number_picture` ("###:", "###"), then each value in the
// adaptive number format.  With `wrap` > 0 a new line, indented by three blanks, starts before
// values wrap + 1, 2 wrap + 1, ...
void write_listing_row(ReportFile& report, std::string_view number_picture, int row, std::span<const float> values,
                       int wrap = 0);

}  // namespace veltrum
