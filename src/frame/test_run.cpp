#include "frame/test_run.hpp"

#include "frame/data_file.hpp"

namespace veltrum {

bool open_data_file_test(Module& module, const CatalogueEntry& test, DialogProcedure& dialog) {
  if (!begin_loading(module)) return false;
  const bool computed = run_dialog(module, test, dialog);
  module.host.repaint_host();
  if (!computed) return false;
  open_report(module, test.title);
  // Without a file name there is nothing to read: the report keeps its header.
  if (module.data_file_name.empty()) {
    module.report.line();
    return false;
  }
  return true;
}

}  // namespace veltrum
