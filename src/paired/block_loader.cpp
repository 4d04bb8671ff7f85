#include "paired/block_loader.hpp"

#include <vector>

#include "frame/input_block.hpp"
#include "frame/module.hpp"
#include "frame/records.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "paired/friedman_dialog.hpp"

namespace veltrum {

namespace {

// Targets on one line before the variable line wraps, and the blanks that indent its next line.
constexpr int targets_a_line = 4;
constexpr int wrap_indent = 17;
// Columns of the listing before it wraps.
constexpr int listing_columns = 7;

// The message when no record gives a block (the blanks are the dialog's).
constexpr std::string_view no_blocks_text = "Der Stichprobenumfang mindestens einer Gruppe ist Null!      ";

// "  davon Variablen" with the targets' columns and names, then the group line.
void write_input_block(Module& module, const std::vector<int>& targets, int group_variable, std::int16_t group) {
  ReportFile& r = module.report;
  const DataFileArrays& data = module.data;
  const bool named = has_variable_names(data);
  write_input_file(module);
  r.write("  davon Variablen");
  const int c = static_cast<int>(targets.size());
  for (int k = 1; k <= c; ++k) {
    const int column = targets[k - 1];
    if (k == c) {
      write_variable(r, data, column, named);
    } else if (named) {
      write_variable(r, data, column, true, "),");
      if (k % targets_a_line == 0) {
        r.end_line();
        r.write(std::string(wrap_indent, ' '));
      }
    } else {
      write_variable(r, data, column, false);
      r.write(",");
    }
  }
  r.end_line();
  if (group != 0) {
    r.write("  und Gruppe Var.");
    write_variable(r, data, group_variable, named, ") ");
    r.write("=");
    r.plain(group);
    r.end_line();
  }
  r.line();
}

// The values read, a row per record, seven columns a line.
void write_listing(Module& module, const BlockTable& table, const std::vector<int>& targets, std::int16_t group) {
  ReportFile& r = module.report;
  r.line();
  if (group > 0) write_group_title(r, group);
  r.write("  i");
  for (int k = 1; k <= table.columns; ++k) {
    if (k > 1 && (k - 1) % listing_columns == 0) {
      r.end_line();
      r.write("   ");
    }
    r.picture("    Var. ##", static_cast<float>(targets[k - 1]));
  }
  r.end_line();
  std::vector<float> row(static_cast<std::size_t>(table.columns));
  for (int i = 1; i <= table.rows; ++i) {
    for (int k = 1; k <= table.columns; ++k) row[k - 1] = table.x(i, k);
    write_listing_row(r, "###", i, row, listing_columns);
  }
  r.line();
}

}  // namespace

bool load_blocks(Module& module, BlockTable& table) {
  const auto& whole = module.remembered.whole;
  const int c = whole[blocked_inputs::target_count];
  std::vector<int> targets(static_cast<std::size_t>(c));
  for (int k = 1; k <= c; ++k) targets[k - 1] = module.work.w9[k];
  const int group_variable = whole[blocked_inputs::group_variable];
  const std::int16_t group = group_variable > 0 ? whole[blocked_inputs::group_number] : std::int16_t{0};
  table = BlockTable(c);

  write_input_block(module, targets, group_variable, group);

  const RecordWalk chosen{.group_variable = group_variable,
                          .take_group = [&](std::int16_t g) { return group == 0 || g == group; }};
  const bool read = read_columns(module, chosen, targets, [&](std::int16_t, std::span<const float> values) {
    const int i = table.rows + 1;
    for (int k = 1; k <= c; ++k) table.x(i, k) = values[k - 1];
    table.rows = i;
  });
  if (!read) return false;

  if (table.rows == 0) {
    stop(module, Rerun::yes, no_blocks_text);
    return false;
  }
  table.used = data_used(module.data, targets, group_variable);
  if (group != 0) table.used.groups.push_back({group, table.rows});
  if (module.listing) write_listing(module, table, targets, group);
  module.report.line();
  return true;
}

}  // namespace veltrum
