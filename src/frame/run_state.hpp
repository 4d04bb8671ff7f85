// The run-state a test shares with the dispatch loop: how a pass ended and whether the same
// dialog comes back.  The values themselves live in Module; this header names them.
#pragma once

#include <cstdint>
#include <string_view>

namespace veltrum {

struct Module;

// The re-run request: after the pass, show the same test's dialog again (pre-filled) instead of a
// report.
enum class Rerun : std::int16_t { no = 0, yes = 1 };

// Dialog results: 0 when the dialog was cancelled or there is no report to show, 1 when the test
// computed and wrote its report.
inline constexpr std::int32_t dialog_cancelled = 0;
inline constexpr std::int32_t dialog_computed = 1;

// Ends the run of a test without a report: the cancel flag is set, the dialog result is 0, and with
// Rerun::yes the dialog comes back, with Rerun::no the call ends.
void stop(Module& module, Rerun rerun);

// The same after the " Vorsicht!" message `caution_text`.
void stop(Module& module, Rerun rerun, std::string_view caution_text);

// After a loader: the test goes on only when the loader did not stop it and the dialog was not
// cancelled.
bool ready_to_compute(const Module& module);

}  // namespace veltrum
