#include "independent/group_loader.hpp"

#include "frame/input_block.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"
#include "frame/records.hpp"
#include "frame/report.hpp"
#include "frame/run_state.hpp"
#include "independent/group_dialogs.hpp"

namespace veltrum {

namespace {

// "Eingabedatei ist ..." and the line naming the target variable and the groups.
void write_input_block(Module& module, int k, int target, int group_variable) {
  ReportFile& r = module.report;
  const DataFileArrays& data = module.data;
  const auto& numbers = module.work.w8;
  write_input_file(module);
  r.write("  davon Variable");
  write_variable(r, data, target, !data.names[target].empty());
  if (k == 0) {
    r.write("  Alle Gruppen Var.");
    write_variable(r, data, group_variable, true);
  } else {
    r.write("  und Gruppen-Var.");
    write_variable(r, data, group_variable, !data.names[group_variable].empty(), ") ");
    r.write("=");
    for (int i = 1; i < k; ++i) r.write(number_text(numbers[i]));
    r.plain(numbers[k]);
  }
  r.end_line();
  r.line();
}

// The values read, group by group, each with its position.
void write_listing(Module& module, const SampleTable& table) {
  ReportFile& r = module.report;
  for (int i = 1; i <= table.groups(); ++i) {
    r.line();
    write_group_title(r, table.group_number[i]);
    const int n = table.n[i];
    for (int j = 1; j <= n; ++j) {
      const float value = table.x(i, j);
      write_listing_row(r, "###:", j, {&value, 1});
    }
    r.line();
  }
}

}  // namespace

bool load_group_samples(Module& module, GroupChoice choice, SampleTable& table) {
  const auto& whole = module.remembered.whole;
  const int group_variable = whole[group_inputs::group_variable];
  const int target = whole[group_inputs::target_variable];
  int k = choice == GroupChoice::k_groups ? whole[group_inputs::group_count] : 2;

  auto& map = module.work.w7;
  auto& numbers = module.work.w8;
  for (int g = map.low(); g <= map.high(); ++g) map[g] = static_cast<std::int16_t>(k == 0 ? g : 0);
  for (int i = 1; i <= k; ++i) map[numbers[i]] = static_cast<std::int16_t>(i);

  const auto& missing = module.data.missing;
  // All groups: numbered in the order in which they first appear in the file.
  if (k == 0 && group_variable > 0) {
    for (int g = map.low(); g <= map.high(); ++g) map[g] = 0;
    const bool read = walk_records(module, {.group_variable = group_variable}, [&](std::string_view, std::int16_t g) {
      if (g < missing[group_variable] && map[g] == 0) {
        ++k;
        map[g] = static_cast<std::int16_t>(k);
        numbers[k] = g;
      }
    });
    if (!read) return false;
  }

  // A fresh table each time: up to 10 groups of 1001 values, or 10000 / k + 1 values a group.
  table = SampleTable{};
  table.redimension(k);

  write_input_block(module, k, target, group_variable);

  const bool all_values_are_groups = k == 0;
  const RecordWalk chosen_groups{.group_variable = group_variable, .take_group = [&](std::int16_t g) {
                                   if (!(g < missing[group_variable])) return false;
                                   if (all_values_are_groups && g > k) k = g;
                                   return map[g] > 0;
                                 }};
  const int columns[] = {target};
  const bool read = read_columns(module, chosen_groups, columns, [&](std::int16_t g, std::span<const float> values) {
    const int i = map[g];
    table.x(i, ++table.n[i]) = values[0];
  });
  if (!read) return false;

  for (int i = 1; i <= k; ++i) {
    if (table.n[i] == 0) {
      stop(module, Rerun::yes, empty_group_text);
      return false;
    }
  }
  table.k = k;
  for (int i = 1; i <= k; ++i) table.group_number[i] = numbers[i];
  table.used = data_used(module.data, columns, group_variable);
  for (int i = 1; i <= k; ++i) table.used.groups.push_back({table.group_number[i], table.n[i]});

  if (module.listing) write_listing(module, table);
  module.report.line();
  return true;
}

std::unique_ptr<DialogProcedure> group_dialog(Module& module, GroupChoice choice) {
  if (choice == GroupChoice::k_groups) return std::make_unique<GroupsDialog>(module);
  return std::make_unique<TwoGroupsDialog>(module);
}

}  // namespace veltrum
