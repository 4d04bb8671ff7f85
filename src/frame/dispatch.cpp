#include "frame/dispatch.hpp"

#include "frame/catalogue.hpp"
#include "frame/messages.hpp"
#include "frame/picture.hpp"
#include "frame/report.hpp"

namespace veltrum {

std::int32_t libmain(Module& module, std::uintptr_t instance) {
  // The data-file arrays exist with the module object; only the instance handle is recorded.
  module.instance = instance;
  return 1;
}

namespace {

// left, top, right, bottom, each by the picture "####", without separators.
std::string rectangle_text(const Rect& r) {
  return picture_format("####", static_cast<float>(r.left)) + picture_format("####", static_cast<float>(r.top)) +
         picture_format("####", static_cast<float>(r.right)) + picture_format("####", static_cast<float>(r.bottom));
}

// False when the report that was open could not be written whole.
bool close_all_files(Module& module) { return module.report.close(); }

// A test without a trap of its own: a failing statement ends only that test, never the call, and
// the report it left half-written is not shown.
void call_test(Module& module, const CatalogueEntry& test) {
  module.test = &test;
  try {
    test.entry(module, test);
  } catch (...) {
    module.dialog_result = dialog_cancelled;
  }
  module.test = nullptr;
}

}  // namespace

std::int32_t run_veltrum(Module& module, std::uintptr_t host_window, std::string_view data_file_name,
                         std::string_view test_letter) {
  return run_veltrum(module, test_catalogue(), host_window, data_file_name, test_letter);
}

std::int32_t run_veltrum(Module& module, std::span<const CatalogueEntry> catalogue, std::uintptr_t host_window,
                         std::string_view data_file_name, std::string_view test_letter) {
  try {
    module.work.reset();
    module.data_file_name = std::string(data_file_name);
    module.test_letter = std::string(test_letter);
    module.host_window = host_window;
    module.rect_text = rectangle_text(module.host.host_window_rect());

    const CatalogueEntry* test = find_test(catalogue, module.test_letter);
    if (letters_without_data_file(catalogue).find(module.test_letter) == std::string::npos &&
        !module.host.file_exists(module.data_file_name)) {
      module.host.message_box("Bitte öffnen Sie zuerst eine Datei!", style::open_file_first, caption::caution);
      return 0;
    }

    module.remembered = {};
    module.keyword.clear();
    module.rerun = Rerun::no;
    module.dialog_result = dialog_cancelled;

    for (;;) {
      module.rerun = Rerun::no;
      close_all_files(module);
      if (test && test->entry) call_test(module, *test);
      if (!close_all_files(module)) {
        // A cut report is never shown: the call ends with the message.
        module.host.message_box(report_write_error_text, style::stop, caption::attention);
        return 0;
      }
      if (module.rerun == Rerun::yes) {
        module.rerun = Rerun::no;
        continue;
      }
      if (module.dialog_result != dialog_cancelled && test && test->shown_after_run) {
        module.host.repaint_host();
        module.host.viewer(std::string(report_path) + module.rect_text);
        continue;
      }
      return 0;
    }
  } catch (...) {
    module.host.message_box(last_resort_text, style::stop, caption::system_error);
    return 0;
  }
}

}  // namespace veltrum
