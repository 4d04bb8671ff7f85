// The records of the active data file as the loaders take them: a walker with the group-range and
// blank-record rules, and a reader of chosen columns into a plain table with the missing-value
// rule.  A loader says which records and columns it wants; what it does with them (groups, pairs,
// blocks, two periods) is its own business.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/result.hpp"

namespace veltrum {

struct Module;
struct DataFileArrays;

// Group numbers run from 1 to 1000.
inline constexpr int min_group_number = 1, max_group_number = 1000;
// What a typed group number above the 16-bit range is read as: a number above the groups, refused
// or finding no records as 1001 does.
inline constexpr std::int16_t beyond_groups = max_group_number + 1;

// Whether a group value outside 1..1000 stops the loading.
enum class GroupRange { unchecked, checked };

// Which records a pass over the data file takes.
struct RecordWalk {
  // Column of the group variable; 0 = none: every record is taken, with group value 0.
  int group_variable = 0;
  GroupRange range = GroupRange::checked;
  // The group values taken (with a group variable); every value when empty.
  std::function<bool(std::int16_t group)> take_group{};
  // Columns whose cells must hold numbers a float can keep: in a record taken, a number beyond
  // the float range (or a written infinity or NaN) ends the pass with the message naming the line
  // and the variable, dialog result 0 and the re-run request, as the range message does.
  std::span<const int> value_columns{};
};

// The " Achtung!" text for a group value outside 1..1000, given as a float or as the text shown.
std::string group_range_message(float value);
std::string group_range_message(const std::string& shown);

// The " Achtung!" text for a cell beyond the float range: the value as written, the variable's
// column and name, and the line of the file (the header line is line 1).
std::string value_range_message(std::string_view written, int column, std::string_view name, long line);

// One pass over the records (the header line is passed over when the file has variables; records
// holding nothing but blanks are skipped).  With a group variable the record's group value is
// read by the integer field reader; with GroupRange::checked a value below 1 or above 1000 that is
// not the column's missing-value code ends the pass with the range message, dialog result 0 and
// the re-run request (the cancel flag is left as it is), and the walk gives false.  Every record
// whose group the walk takes goes to `take(line, group)`.
bool walk_records(Module& module, const RecordWalk& walk,
                  const std::function<void(std::string_view line, std::int16_t group)>& take);

// Rows of chosen columns, in file order, each with its record's group value.
struct ColumnTable {
  std::vector<int> columns;          // the columns read, in the order asked for
  std::vector<std::int16_t> groups;  // group value of each row (0 without a group variable)
  std::vector<float> values;         // row by row

  int rows() const { return static_cast<int>(groups.size()); }
  // Value of row `row` (from 1) in the `k`-th column asked for (from 1).
  float value(int row, int k) const { return values[(row - 1) * columns.size() + (k - 1)]; }
  std::span<const float> row(int row) const {
    return std::span<const float>(values).subspan((row - 1) * columns.size(), columns.size());
  }
};

// Reads `columns` (field reader) from every record the walk takes; a number beyond the float range
// in any of them ends the walk (RecordWalk::value_columns).  A record in which any of them equals
// that column's missing-value code (exact comparison) is dropped; the others go to
// `row(group, values)` as they are read, or into the table.  False when the walk ended with the
// range message.
using RowSink = std::function<void(std::int16_t group, std::span<const float> values)>;
bool read_columns(Module& module, const RecordWalk& walk, std::span<const int> columns, const RowSink& row);
bool read_columns(Module& module, const RecordWalk& walk, std::span<const int> columns, ColumnTable& table);

// The variables a loader read (`columns`, in its order) and its group variable (0: none), each with
// its name from the header; the groups are the loader's to add.
DataUsed data_used(const DataFileArrays& data, std::span<const int> columns, int group_variable);

}  // namespace veltrum
