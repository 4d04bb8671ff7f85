#include "paired/pair_loader.hpp"

#include "frame/input_block.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/numbers.hpp"
#include "frame/records.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "paired/pair_dialog.hpp"

namespace veltrum {

namespace {

// "Eingabedatei ist ...", the two variables and, with a group variable, the group.
void write_input_block(Module& module, int first, int second, int group_variable, std::int16_t group) {
  ReportFile& r = module.report;
  const DataFileArrays& data = module.data;
  const bool named = has_variable_names(data);
  write_input_file(module);
  r.write("  davon Variable");
  write_variable(r, data, first, named, ") ");
  r.write("- Variable");
  write_variable(r, data, second, named, ") ");
  r.end_line();
  if (group_variable > 0) {
    r.write("  und Gruppe Var.");
    write_variable(r, data, group_variable, named, ") ");
    r.write("=");
    r.plain(group);
    r.end_line();
  }
  r.line();
}

// The pairs read, each with its difference; the heading names the variables by their columns.
void write_listing(Module& module, const PairTable& table, int first, int second, std::int16_t group) {
  ReportFile& r = module.report;
  r.line();
  if (group > 0) write_group_title(r, group);
  r.picture("  i      Var###     ", static_cast<float>(first));
  r.picture("Var###     Diff", static_cast<float>(second));
  r.end_line();
  r.line();
  for (int i = 1; i <= table.n; ++i) {
    const float row[] = {table.x[i], table.y[i], to_float(static_cast<real>(table.x[i]) - table.y[i])};
    write_listing_row(r, "###:", i, row);
  }
  r.line();
}

}  // namespace

bool load_pairs(Module& module, PairTable& table) {
  const auto& whole = module.remembered.whole;
  const int group_variable = whole[pair_inputs::group_variable];
  const std::int16_t group = whole[pair_inputs::group_number];
  const int first = whole[pair_inputs::first_variable], second = whole[pair_inputs::second_variable];
  write_input_block(module, first, second, group_variable, group);

  table = PairTable{};
  const RecordWalk walk{.group_variable = group_variable,
                        .range = GroupRange::unchecked,
                        .take_group = [&](std::int16_t g) { return group == 0 || g == group; }};
  const int columns[] = {first, second};
  const bool read =
      read_columns(module, walk, columns, [&](std::int16_t, std::span<const float> xy) { table.add(xy[0], xy[1]); });
  if (!read) return false;

  if (table.n == 0) {
    stop(module, Rerun::yes, empty_group_text);
    return false;
  }
  table.used = data_used(module.data, columns, group_variable);
  if (group_variable > 0) table.used.groups.push_back({group, table.n});
  if (module.listing) write_listing(module, table, first, second, group);
  module.report.line();
  return true;
}

}  // namespace veltrum
