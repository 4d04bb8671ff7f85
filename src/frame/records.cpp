#include "frame/records.hpp"

#include <algorithm>
#include <cmath>

#include "frame/data_file.hpp"
#include "frame/errors.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

std::string group_range_message(float value) { return group_range_message(number_text(value)); }

std::string group_range_message(const std::string& shown) {
  return join_lines(
      {"Kalvo. erlaubt keine Gruppenvariablen mit Werten", "<1 bzw. >1000. Der hier vorhandene Wert" + shown,
       "ist deshalb nicht zulässig (vgl. Handbuch Kap. 1", "oder auch im Hauptmenü 'Infos, Restriktionen') .", "",
       "Bitte korrigieren Sie die aktive Datei im Editor."});
}

std::string value_range_message(std::string_view written, int column, std::string_view name, long line) {
  return join_lines(
      {"Der Wert " + std::string(written) + " der Variablen " + std::to_string(column) + " (" + std::string(name) + ")",
       "in Zeile " + std::to_string(line) + " der aktiven Datei liegt außerhalb des",
       "Zahlenbereichs (Betrag höchstens 3.402823E+38)", "und ist deshalb nicht zulässig.", "",
       "Bitte korrigieren Sie die aktive Datei im Editor."});
}

namespace {

// Ends a pass over the records with a message: no report, the same dialog again.
bool stop_walk(Module& module, std::string_view message) {
  attention_box(module.host, message);
  offer_dialog_again(module);
  return false;
}

// A group value for the range message: in the plain number form, or as written when it is beyond
// the float range (the plain form would say "Inf").
std::string shown_group_value(const DataFileArrays& data, std::string_view line, int column, real whole) {
  if (std::isfinite(to_float(whole))) return number_text(to_float(whole));
  const std::string_view written = written_value(column_text(data, line, column));
  std::string shown(written.starts_with('-') ? "" : " ");
  shown.append(written);
  return shown;
}

}  // namespace

bool walk_records(Module& module, const RecordWalk& walk,
                  const std::function<void(std::string_view line, std::int16_t group)>& take) {
  DataFileLines lines;
  open_records(module, lines);
  const int column = walk.group_variable;
  std::string line;
  long number = module.data.names[1] != no_variables ? 1 : 0;  // of the line in the file
  while (lines.next(line)) {
    ++number;
    if (is_blank_line(line)) continue;
    std::int16_t g = 0;
    if (column > 0) {
      // The range is checked on the number written (a missing entry is no group value), so that
      // values beyond the 16-bit range and 32767 itself get the message like any other.
      const auto written = field_number(module.data, line, column);
      g = integer_value(module.data, column, written);
      // Within +-32767 integer_value has rounded the number already (halves to even), and g is
      // that whole number; only beyond it is it rounded again here.
      const real whole = !written ? 0 : std::fabs(*written) <= 32767 ? static_cast<real>(g) : round_even(*written);
      if (walk.range == GroupRange::checked && written && (whole < min_group_number || whole > max_group_number))
        return stop_walk(module, group_range_message(shown_group_value(module.data, line, column, whole)));
      if (walk.take_group && !walk.take_group(g)) continue;
    }
    for (const int v : walk.value_columns)
      if (beyond_float_range(module.data, line, v))
        return stop_walk(module, value_range_message(written_value(column_text(module.data, line, v)), v,
                                                     module.data.names[v], number));
    take(line, g);
  }
  // A read that failed half-way would leave the later records out without a word.
  if (lines.failed()) throw RunError("the data file " + module.data_file_name + " could not be read to its end");
  return true;
}

bool read_columns(Module& module, const RecordWalk& walk, std::span<const int> columns, const RowSink& row) {
  std::vector<float> values(columns.size());
  RecordWalk checked = walk;
  checked.value_columns = columns;
  return walk_records(module, checked, [&](std::string_view line, std::int16_t g) {
    bool complete = true;
    for (std::size_t k = 0; k < columns.size(); ++k) {
      values[k] = field_value(module.data, line, columns[k]);
      if (values[k] == module.data.missing[columns[k]]) complete = false;
    }
    if (complete) row(g, values);
  });
}

bool read_columns(Module& module, const RecordWalk& walk, std::span<const int> columns, ColumnTable& table) {
  table = ColumnTable{};
  table.columns.assign(columns.begin(), columns.end());
  return read_columns(module, walk, columns, [&](std::int16_t g, std::span<const float> values) {
    table.groups.push_back(g);
    table.values.insert(table.values.end(), values.begin(), values.end());
  });
}

DataUsed data_used(const DataFileArrays& data, std::span<const int> columns, int group_variable) {
  const auto variable = [&](int column) {
    return VariableUsed{column, column > 0 ? data.names[column] : std::string()};
  };
  DataUsed used;
  for (const int column : columns) used.variables.push_back(variable(column));
  used.group_variable = variable(group_variable);
  return used;
}

}  // namespace veltrum
