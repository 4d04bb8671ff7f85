// A test entry double for the group tests: it only runs the group-sample loader, so that the
// dialogs and the loader can be driven through a whole Veltrum call before the tests exist.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "VELTRUM_R.h"
#include "frame/catalogue.hpp"
#include "independent/group_loader.hpp"
#include "independent/sample_table.hpp"
#include "test_support.hpp"

namespace veltrum::testing {

// What the loader gave on each pass.
struct LoaderPass {
  float k = 0;
  bool stopped = false;
  int dialog_result = 0;
};

struct LoaderRecord {
  std::vector<LoaderPass> passes;
  SampleTable table;  // the table of the last pass
};

inline LoaderRecord& loader_record() {
  static LoaderRecord record;
  return record;
}

template <GroupChoice choice>
void loader_entry(Module& module, const CatalogueEntry& test) {
  auto& record = loader_record();
  int k = 0;
  const auto dialog = group_dialog(module, choice);
  run_trapped(module, [&] {
    if (open_data_file_test(module, test, *dialog) && load_group_samples(module, choice, record.table))
      k = record.table.k;
  });
  record.passes.push_back({static_cast<float>(k), module.stopped, module.dialog_result});
}

// The group letters as the catalogue describes them, each running only the loader.
inline constexpr CatalogueEntry group_catalogue[] = {
    {.letter = "K",
     .title = "Kruskal-Wallis-Test.",
     .dialog_template = "KRUSKAL",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::k_groups>},
    {.letter = "T",
     .title = "Mantel-Haenszel-Zimmermann-Test (k Gruppen).",
     .dialog_template = "KRUSKAL",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::k_groups>,
     .caption = IDS_CAPTION_MANTEL_K},
    {.letter = "N",
     .title = "Mantel-Haenszel-Test (2 Gruppen).",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::two_groups>,
     .caption = IDS_CAPTION_MANTEL_2},
    {.letter = "U",
     .title = "Wilcoxon-Mann-Whitney-Test.",
     .dialog_template = "UTEST",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::two_groups>},
    {.letter = "E",
     .title = "Median-Test.",
     .dialog_template = "MEDIAN",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::two_groups>},
    {.letter = "S",
     .title = "Kolmogoroff-Smirnoff-Test.",
     .dialog_template = "KOLMO",
     .needs_data_file = true,
     .entry = &loader_entry<GroupChoice::two_groups>},
};

// Fixed-width text: `text` right-aligned in `width` characters.
inline std::string field(const std::string& text, int width) {
  return std::string(text.size() < static_cast<std::size_t>(width) ? width - text.size() : 0, ' ') + text;
}

// A session whose active data file is C:\daten.dat.  The header is "Gruppe;N;5;0 Wert;N;6;2":
// the group in characters 1 to 6, a separator, the value in characters 8 to 13.
struct GroupSession : Session {
  GroupSession() { loader_record() = LoaderRecord{}; }

  static std::string record(const std::string& group, const std::string& value) {
    return field(group, 6) + " " + field(value, 6) + "\r\n";
  }

  void write_data(const std::string& bytes) { std::ofstream(drive.path() / "daten.dat", std::ios::binary) << bytes; }
  // Header and records from (group, value) pairs.
  void write_records(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string bytes = "Gruppe;N;5;0 Wert;N;6;2\r\n";
    for (const auto& [g, x] : rows) bytes += record(g, x);
    write_data(bytes);
  }

  int run_groups(std::string_view letter, std::string_view script_text, std::string_view data_file = "C:\\daten.dat") {
    host.add_actions(script::parse(script_text));
    return run_veltrum(module, group_catalogue, 0x1234, data_file, letter);
  }

  const std::vector<LoaderPass>& passes() const { return loader_record().passes; }
  const SampleTable& table() const { return loader_record().table; }
  // The report after its five header lines.
  std::vector<std::string> body() const {
    auto lines = report_lines();
    return lines.size() > 5 ? std::vector<std::string>(lines.begin() + 5, lines.end()) : std::vector<std::string>{};
  }
};

}  // namespace veltrum::testing
