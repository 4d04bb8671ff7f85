#include "paired/cross_over_loader.hpp"

#include <string>

#include "frame/errors.hpp"
#include "frame/input_block.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/records.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "paired/cross_over_dialog.hpp"

namespace veltrum {

namespace {

struct Choice {
  int group_variable = 0, period1 = 0, period2 = 0;
  std::int16_t group1 = 0, group2 = 0;
};

// "  davon Variablen" with both period variables, "  und Gruppen Var." with the group variable and
// both group numbers.
void write_input_block(Module& module, const Choice& c) {
  ReportFile& r = module.report;
  const DataFileArrays& data = module.data;
  const bool named = has_variable_names(data);
  write_input_file(module);
  r.write("  davon Variablen");
  write_variable(r, data, c.period1, named, "),");
  if (!named) r.write(",");
  write_variable(r, data, c.period2, named, ") ");
  r.end_line();
  r.write("  und Gruppen Var.");
  write_variable(r, data, c.group_variable, named, ") ");
  r.write("=");
  r.plain(c.group1);
  r.write("und");
  r.plain(c.group2);
  r.end_line();
  r.line();
}

// Per group its number, the column heads with the variable numbers, one row per unit.
void write_listing(ReportFile& r, const Choice& c, const CrossOverGroup& group) {
  write_group_title(r, group.number);
  r.write("  i");
  r.picture("    Var. ##", static_cast<float>(c.period1));
  r.picture("    Var. ##", static_cast<float>(c.period2));
  r.end_line();
  for (int i = 1; i <= group.size(); ++i) {
    const float row[] = {group.period1[static_cast<std::size_t>(i - 1)],
                         group.period2[static_cast<std::size_t>(i - 1)]};
    write_listing_row(r, "###", i, row);
  }
  r.line();
}

}  // namespace

bool load_cross_over(Module& module, CrossOverTrial& trial) {
  CrossOverGroup& first = trial.first;
  CrossOverGroup& second = trial.second;
  first = CrossOverGroup{}, second = CrossOverGroup{};
  // Group 1 is always the smaller group number; the dialog shows them so next time.
  auto& whole = module.remembered.whole;
  if (whole[cross_inputs::group1] > whole[cross_inputs::group2])
    std::swap(whole[cross_inputs::group1], whole[cross_inputs::group2]);
  const Choice c{whole[cross_inputs::group_variable], whole[cross_inputs::period1], whole[cross_inputs::period2],
                 whole[cross_inputs::group1], whole[cross_inputs::group2]};
  first.number = c.group1;
  second.number = c.group2;

  write_input_block(module, c);

  const RecordWalk walk{.group_variable = c.group_variable,
                        .take_group = [&](std::int16_t g) { return g == c.group1 || g == c.group2; }};
  const int columns[] = {c.period1, c.period2};
  const bool read = read_columns(module, walk, columns, [&](std::int16_t g, std::span<const float> values) {
    CrossOverGroup& group = g == c.group1 ? first : second;
    if (group.size() >= cross_over_group_capacity)
      throw IndexError("more than " + std::to_string(cross_over_group_capacity) + " units in group " +
                       std::to_string(g));
    group.period1.push_back(values[0]);
    group.period2.push_back(values[1]);
  });
  if (!read) return false;

  if (first.size() == 0 || second.size() == 0) {
    stop(module, Rerun::yes, empty_group_text);
    return false;
  }
  trial.used = data_used(module.data, columns, c.group_variable);
  trial.used.groups = {{first.number, first.size()}, {second.number, second.size()}};
  if (module.listing) {
    module.report.line();
    write_listing(module.report, c, first);
    write_listing(module.report, c, second);
  }
  return true;
}

}  // namespace veltrum
