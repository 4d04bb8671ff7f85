#include "frame/run_state.hpp"

#include "frame/messages.hpp"
#include "frame/module.hpp"

namespace veltrum {

void stop(Module& module, Rerun rerun) {
  module.stopped = true;
  module.dialog_result = dialog_cancelled;
  module.rerun = rerun;
}

void stop(Module& module, Rerun rerun, std::string_view caution_text) {
  caution_box(module.host, caution_text);
  stop(module, rerun);
}

bool ready_to_compute(const Module& module) { return !module.stopped && module.dialog_result != dialog_cancelled; }

}  // namespace veltrum
