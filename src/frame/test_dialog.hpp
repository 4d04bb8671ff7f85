// The skeleton every test dialog fills in.
//
//   "&Rechnen"   (1, also Enter)  compute(): read, check and store the input; end the dialog with
//                                 dialog_computed once everything is acceptable, else reject the
//                                 offending field and stay open
//   "&Abbrechen" (2, also Escape) ends the dialog with dialog_cancelled
//   "&Löschen"   (3)              empties the fields the dialog names and puts the focus on the
//                                 first of them (only in dialogs that name any)
//
// Initialisation centres the dialog, gives it the caption of the running test where its
// catalogue entry names one, and then lets the dialog fill its fields (start()).
#pragma once

#include <initializer_list>
#include <vector>

#include "frame/host.hpp"

namespace veltrum {

struct Module;

class TestDialog : public DialogProcedure {
 public:
  explicit TestDialog(Module& module, std::initializer_list<int> cleared_fields = {})
      : module_(module), cleared_(cleared_fields) {}

  bool init(DialogWindow& dialog) final;
  bool command(DialogWindow& dialog, int id) final;

 protected:
  // Puts the remembered input back into the fields; true when it set the focus itself.
  virtual bool start(DialogWindow& dialog) = 0;
  // "&Rechnen".
  virtual void compute(DialogWindow& dialog) = 0;
  // Any other control (a help button, ...): true when handled.
  virtual bool other(DialogWindow& dialog, int id);

  Module& module_;

 private:
  std::vector<int> cleared_;
};

}  // namespace veltrum
