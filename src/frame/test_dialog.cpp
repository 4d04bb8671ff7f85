#include "frame/test_dialog.hpp"

#include "VELTRUM_R.h"
#include "frame/catalogue.hpp"
#include "frame/dialog.hpp"
#include "frame/module.hpp"
#include "frame/run_state.hpp"

namespace veltrum {

bool TestDialog::init(DialogWindow& dialog) {
  centre(module_.host, dialog);
  if (module_.test && module_.test->caption != 0) dialog.set_caption(module_.host.resource_text(module_.test->caption));
  return start(dialog);
}

bool TestDialog::command(DialogWindow& dialog, int id) {
  switch (id) {
    case IDC_RECHNEN:
      compute(dialog);
      return true;
    case IDC_ABBRECHEN:
      dialog.end(dialog_cancelled);
      return true;
    case IDC_LOESCHEN:
      if (cleared_.empty()) return false;
      for (const int field : cleared_) dialog.set_text(field, "");
      dialog.focus(cleared_.front());
      return true;
    default:
      return other(dialog, id);
  }
}

bool TestDialog::other(DialogWindow&, int) { return false; }

}  // namespace veltrum
