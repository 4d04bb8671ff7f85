#include "paired/blocked_tests.hpp"

#include <optional>

#include "frame/module.hpp"
#include "frame/run_state.hpp"
#include "frame/test_run.hpp"
#include "paired/block_loader.hpp"
#include "paired/cochran.hpp"
#include "paired/cochran_dialog.hpp"
#include "paired/friedman.hpp"
#include "paired/friedman_dialog.hpp"

namespace veltrum {

namespace {

std::optional<Friedman> analyse_blocks(Module& module, const BlockTable& table) {
  if (table.rows < 2) {
    stop(module, Rerun::yes, "Der Stichprobenumfang ist zu klein!");
    return std::nullopt;
  }
  if (table.columns < 3) {
    stop(module, Rerun::no, "Für c=2 'Spalten' ist der Wilcoxon-matched-pairs-Test trennschärfer!");
    return std::nullopt;
  }
  return friedman(table);
}

}  // namespace

void friedman_entry(Module& module, const CatalogueEntry& test) {
  BlockTable table;
  FriedmanDialog dialog(module);
  run_data_file_test(
      module, test, dialog, [&] { return load_blocks(module, table); }, [&] { return analyse_blocks(module, table); },
      write_friedman);
}

void cochran_entry(Module& module, const CatalogueEntry& test) {
  CochranTable table;
  CochranDialog dialog(module, table);
  run_test(
      module, test, dialog, [&] { return std::optional(cochran_q(table)); }, write_cochran);
}

}  // namespace veltrum
