// One pass of a test: its dialog, the report opened with the test's title, the analysis, and the
// result handed to the report writer and to the module's result sink.  Typed-input tests run
// run_test; data-file tests run run_data_file_test, which adds the loader's opening (header,
// dialog, report) and runs everything under the one test error trap.
#pragma once

#include <optional>
#include <variant>

#include "frame/catalogue.hpp"
#include "frame/error_trap.hpp"
#include "frame/host.hpp"
#include "frame/module.hpp"
#include "frame/report.hpp"
#include "frame/result.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

// Shows the test's dialog (its catalogue entry names the template) and keeps its result as the
// dialog result; true when the dialog ended with "&Rechnen".
inline bool run_dialog(Module& module, const CatalogueEntry& test, DialogProcedure& dialog) {
  return record_dialog_result(module, module.host.dialog(test.dialog_template, dialog));
}

// Hands a result to the module's result sink, if there is one; a variant hands the alternative it
// holds.
template <typename Result>
void deliver_result(Module& module, const CatalogueEntry& test, const Result& result) {
  if (!module.result_sink) return;
  module.result_sink->take(test, ResultRef(result));
}
template <typename... Results>
void deliver_result(Module& module, const CatalogueEntry& test, const std::variant<Results...>& result) {
  std::visit([&](const auto& held) { deliver_result(module, test, held); }, result);
}

// The report lines of `result`, then the result to the sink.  Nothing when the analysis gave no
// result (it stopped the run).
template <typename Result, typename Write>
void report_result(Module& module, const CatalogueEntry& test, const std::optional<Result>& result, Write&& write) {
  if (!result) return;
  write(module.report, *result);
  deliver_result(module, test, *result);
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

// The same with the analysis apart from the report: `analyse()` gives std::optional<Result>
// (nothing when it stopped the run), `write(ReportFile&, const Result&)` writes its lines.
template <typename Analyse, typename Write>
void run_test(Module& module, const CatalogueEntry& test, DialogProcedure& dialog, Analyse&& analyse, Write&& write,
              Trap trap = Trap::none) {
  run_test(
      module, test, dialog, [&] { report_result(module, test, analyse(), write); }, trap);
}

// The opening of every data-file test: the cancel flag cleared and the header read (a file
// without variables ends the pass), the test's dialog, the host window repainted, and after
// "&Rechnen" the report opened with the test's title.  False when there is nothing to load.
bool open_data_file_test(Module& module, const CatalogueEntry& test, DialogProcedure& dialog);

// A data-file test under the one test error trap: the opening, then `load()` (false when the
// loader ended the pass), then, when ready_to_compute, the analysis and the report as run_test's.
template <typename Load, typename Analyse, typename Write>
void run_data_file_test(Module& module, const CatalogueEntry& test, DialogProcedure& dialog, Load&& load,
                        Analyse&& analyse, Write&& write) {
  run_trapped(module, [&] {
    if (!open_data_file_test(module, test, dialog)) return;
    if (!load() || !ready_to_compute(module)) return;
    report_result(module, test, analyse(), write);
  });
}

}  // namespace veltrum
