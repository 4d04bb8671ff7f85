// The test error trap: a run-time error inside a trapped test routine ends the routine with a
// message, no report, and the same dialog again.
#pragma once

#include "frame/messages.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

inline constexpr std::string_view index_error_text = "Indexüberschreitung, vgl. Infos/Restriktionen!";
inline constexpr std::string_view failure_text = "Berechnung ist nicht möglich!";

// Runs `routine`; on any exception sets dialog result 0 and the re-run request, and shows
// " Achtung!" with the index message for IndexError, the general one otherwise.  While the
// routine runs, a write to a report that is not open counts as a run-time error.
template <typename Routine>
void run_trapped(Module& module, Routine&& routine) {
  const bool was_strict = module.report.strict();
  module.report.set_strict(true);
  bool index_error = false, failed = false;
  try {
    routine();
  } catch (const IndexError&) {
    failed = index_error = true;
  } catch (...) {
    failed = true;
  }
  module.report.set_strict(was_strict);
  if (!failed) return;
  offer_dialog_again(module);
  attention_box(module.host, index_error ? index_error_text : failure_text);
}

}  // namespace veltrum
