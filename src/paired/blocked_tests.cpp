#include "paired/blocked_tests.hpp"

#include "VELTRUM_R.h"
#include "frame/error_trap.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"
#include "frame/test_run.hpp"
#include "paired/block_loader.hpp"
#include "paired/cochran.hpp"
#include "paired/friedman.hpp"

namespace veltrum {

void friedman_entry(Module& module, const CatalogueEntry& test) {
  run_trapped(module, [&] {
    BlockTable table;
    load_blocks(module, test, table);
    if (!ready_to_compute(module)) return;
    if (table.rows < 2) {
      stop(module, Rerun::yes, "Der Stichprobenumfang ist zu klein!");
      return;
    }
    if (table.columns < 3) {
      stop(module, Rerun::no, "Für c=2 'Spalten' ist der Wilcoxon-matched-pairs-Test trennschärfer!");
      return;
    }
    write_friedman(module.report, friedman(table));
  });
}

void cochran_entry(Module& module, const CatalogueEntry& test) {
  CochranTable table;
  CochranDialog dialog(module, table);
  run_test(module, test, dialog, [&] { write_cochran(module.report, table, cochran_q(table)); });
}

}  // namespace veltrum
