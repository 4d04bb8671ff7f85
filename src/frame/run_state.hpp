// The run-state a test shares with the dispatch loop: how a pass ended and whether the same
// dialog comes back.  The values themselves live in Module; only the functions here (and the
// dispatch loop) change them.
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

// Keeps the value the test's dialog ended with as the dialog result; true for dialog_computed.
bool record_dialog_result(Module& module, std::int32_t result);

// No report this pass (the dialog result 0); the cancel flag and the re-run request stay.
void cancel(Module& module);

// No report, and the same dialog again (the dialog result 0, the re-run request); the cancel flag
// stays as it is.  The test error trap and a refused data file end a pass so.
void offer_dialog_again(Module& module);

// Ends the run of a test without a report and without a message: the cancel flag is set, the
// dialog result is 0, and with Rerun::yes the dialog comes back, with Rerun::no the call ends.
void stop_quietly(Module& module, Rerun rerun);

// The same after the " Vorsicht!" message `caution_text`.
void stop(Module& module, Rerun rerun, std::string_view caution_text);

// Clears the cancel flag: a loader (and a test whose checks follow its listing) starts so.
void clear_stop(Module& module);

// After a loader: the test goes on only when the loader did not stop it and the dialog was not
// cancelled.
bool ready_to_compute(const Module& module);

}  // namespace veltrum
