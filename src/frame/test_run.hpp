// One pass of a test on typed input: its dialog, then the report opened with the test's title,
// then the computation and the report lines.
#pragma once

#include "frame/catalogue.hpp"
#include "frame/error_trap.hpp"
#include "frame/host.hpp"
#include "frame/module.hpp"
#include "frame/report.hpp"

namespace veltrum {

// Shows the test's dialog (its catalogue entry names the template) and keeps its result as the
// dialog result; true when the dialog ended with "&Rechnen".
inline bool run_dialog(Module& module, const CatalogueEntry& test, DialogProcedure& dialog) {
  module.dialog_result = module.host.dialog(test.dialog_template, dialog);
  return module.dialog_result == dialog_computed;
}

// Whether the steps after the dialog run under the test error trap (frame/error_trap.hpp).
enum class Trap { none, test };

// The dialog; after "&Rechnen" the report is opened with the test's title and `compute_and_write`
// runs (it may still stop the run, see frame/run_state.hpp).
template <typename Body>
void run_test(Module& module, const CatalogueEntry& test, DialogProcedure& dialog, Body&& compute_and_write,
              Trap trap = Trap::none) {
  if (!run_dialog(module, test, dialog)) return;
  const auto steps = [&] {
    open_report(module, test.title);
    compute_and_write();
  };
  if (trap == Trap::test)
    run_trapped(module, steps);
  else
    steps();
}

}  // namespace veltrum
