#include "independent/group_loader.hpp"

#include "frame/data_file.hpp"
#include "frame/error_trap.hpp"
#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"
#include "independent/group_dialogs.hpp"

namespace veltrum {

std::string group_range_message(std::int16_t value) {
  return join_lines({"Kalvo. erlaubt keine Gruppenvariablen mit Werten",
                     "<1 bzw. >1000. Der hier vorhandene Wert" + number_text(value),
                     "ist deshalb nicht zulässig (vgl. Handbuch Kap. 1",
                     "oder auch im Hauptmenü 'Infos, Restriktionen') .", "",
                     "Bitte korrigieren Sie die aktive Datei im Editor."});
}

namespace {

// One pass over the records of the active data file.  For every record that holds more than
// blanks, the group value is read; a value outside 1..1000 that is not the column's missing code
// ends the pass with the range message (false).  `take(line, g)` gets the other records.
template <typename Take>
bool each_record(Module& module, int group_variable, Take&& take) {
  DataFileLines lines;
  open_records(module, lines);
  std::string line;
  while (lines.next(line)) {
    if (is_blank_line(line)) continue;
    const std::int16_t g = integer_field_value(module.data, line, group_variable);
    if ((g < min_group_number || g > max_group_number) && g != module.data.missing[group_variable]) {
      attention_box(module.host, group_range_message(g));
      module.dialog_result = 0;
      module.rerun = 1;
      return false;
    }
    take(line, g);
  }
  return true;
}

// "Eingabedatei ist ..." and the line naming the target variable and the groups.
void write_input_block(Module& module, int k, int target, int group_variable) {
  ReportFile& r = module.report;
  const auto& names = module.data.names;
  const auto& numbers = module.work.w8;
  r.line();
  r.line("Eingabedatei ist " + module.data_file_name);
  r.write("  davon Variable");
  r.plain(static_cast<float>(target));
  if (!names[target].empty()) r.write("(" + names[target] + ")");
  if (k == 0) {
    r.write("  Alle Gruppen Var.");
    r.plain(static_cast<float>(group_variable));
    r.write("(" + names[group_variable] + ")");
  } else {
    r.write("  und Gruppen-Var.");
    r.plain(static_cast<float>(group_variable));
    if (!names[group_variable].empty()) r.write("(" + names[group_variable] + ") ");
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
    r.write("Gruppe");
    r.plain(table.group_number[i]);
    r.end_line();
    r.line();
    const int n = static_cast<int>(table.n[i]);
    for (int j = 1; j <= n; ++j) {
      r.picture("###:", static_cast<float>(j));
      r.adaptive(table.x(i, j));
      r.end_line();
    }
    r.line();
  }
}

float load(Module& module, const std::string& title, std::string_view template_name, SampleTable& table) {
  module.cancel_flag = "N";
  std::int16_t variables = 0;
  read_header(module, variables);
  if (variables == 0) {
    module.dialog_result = 0;
    return 0;
  }

  if (template_name == "KRUSKAL") {
    GroupsDialog dialog(module);
    module.dialog_result = module.host.dialog(template_name, dialog);
  } else {
    TwoGroupsDialog dialog(module);
    module.dialog_result = module.host.dialog(template_name, dialog);
  }
  module.host.repaint_host();
  if (module.dialog_result == 0) return 0;

  open_report(module, title);
  if (module.data_file_name.empty()) {
    module.report.line();
    return 0;
  }

  const auto& whole = module.remembered.whole;
  const int group_variable = whole[group_inputs::group_variable];
  const int target = whole[group_inputs::target_variable];
  const bool k_groups = module.test_letter == "K" || module.test_letter == "T";
  int k = k_groups ? whole[group_inputs::group_count] : 2;

  auto& map = module.work.w7;
  auto& numbers = module.work.w8;
  for (int g = 0; g <= 1001; ++g) map[g] = static_cast<std::int16_t>(k == 0 ? g : 0);
  for (int i = 1; i <= k; ++i) map[numbers[i]] = static_cast<std::int16_t>(i);

  // All groups: numbered in the order in which they first appear in the file.
  if (k == 0 && group_variable > 0) {
    for (int g = 0; g <= 1001; ++g) map[g] = 0;
    const bool read = each_record(module, group_variable, [&](const std::string&, std::int16_t g) {
      if (g < module.data.missing[group_variable] && map[g] == 0) {
        ++k;
        map[g] = static_cast<std::int16_t>(k);
        numbers[k] = g;
      }
    });
    if (!read) return 0;
  }

  // A fresh table each time: up to 10 groups of 1001 values, or 10000 / k + 1 values a group.
  table = SampleTable{};
  table.redimension(k);

  write_input_block(module, k, target, group_variable);

  const bool all_values_are_groups = k == 0;
  for (int i = 1; i <= SampleTable::max_groups; ++i) table.n[i] = 0;
  const bool read = each_record(module, group_variable, [&](const std::string& line, std::int16_t g) {
    if (!(g < module.data.missing[group_variable])) return;
    if (all_values_are_groups && g > k) k = g;
    if (map[g] <= 0) return;
    const float value = field_value(module.data, line, target);
    if (value == module.data.missing[target]) return;
    const int i = map[g];
    table.n[i] = table.n[i] + 1;
    table.x(i, static_cast<int>(table.n[i])) = value;
  });
  if (!read) return 0;

  for (int i = 1; i <= k; ++i) {
    if (table.n[i] == 0) {
      caution_box(module.host, "Der Stichprobenumfang mindestens einer Gruppe ist Null!");
      module.cancel_flag = "J";
      module.dialog_result = 0;
      module.rerun = 1;
      return 0;
    }
  }
  table.k = static_cast<float>(k);
  for (int i = 1; i <= k; ++i) table.group_number[i] = numbers[i];

  if (module.listing_flag == "J") write_listing(module, table);
  module.report.line();
  return table.k;
}

}  // namespace

float load_group_samples(Module& module, const std::string& title, std::string_view template_name, SampleTable& table) {
  float k = 0;
  run_trapped(module, [&] { k = load(module, title, template_name, table); });
  return k;
}

}  // namespace veltrum
