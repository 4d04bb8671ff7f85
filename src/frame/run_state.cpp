#include "frame/run_state.hpp"

#include "frame/messages.hpp"
#include "frame/module.hpp"

namespace veltrum {

bool record_dialog_result(Module& module, std::int32_t result) {
  module.dialog_result = result;
  return result == dialog_computed;
}

void cancel(Module& module) { module.dialog_result = dialog_cancelled; }

void offer_dialog_again(Module& module) {
  module.dialog_result = dialog_cancelled;
  module.rerun = Rerun::yes;
}

void stop_quietly(Module& module, Rerun rerun) {
  module.stopped = true;
  module.dialog_result = dialog_cancelled;
  module.rerun = rerun;
}

void stop(Module& module, Rerun rerun, std::string_view caution_text) {
  caution_box(module.host, caution_text);
  stop_quietly(module, rerun);
}

void clear_stop(Module& module) { module.stopped = false; }

bool ready_to_compute(const Module& module) { return !module.stopped && module.dialog_result != dialog_cancelled; }

}  // namespace veltrum
