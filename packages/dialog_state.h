// The package's bookkeeping: the record of every open dialog of the package, found by its window,
// and the dialogs on their way to being created. Records are made on a dialog's e_create and
// removed when it is destroyed, so several dialogs of the package can be open at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "packages/dialog_package.h"

namespace dialog_detail {

// What a waiting modal call learns about its dialog.
struct ModalOutcome {
  Window window = 0;  // set on e_create
  int result = 0;     // 0 no result recorded, 1 OK, 2 Cancel
  dialog::ValueList values;
};

struct DialogState {
  std::string title;
  dialog::FieldList fields;  // each field with its current value
  EventHandler handler = nullptr;
  int result = 0;  // the recorded result: 0 none yet, 1 OK, 2 Cancel
  dialog::ValueList result_values;
  ModalOutcome* outcome = nullptr;  // the modal call waiting for this dialog, while it waits
  int filling = 0;                  // > 0 while the package itself sets controls
};

// A dialog between its creation call and its e_create.
struct PendingDialog {
  std::string title;
  dialog::FieldList fields;
  EventHandler handler = nullptr;
  ModalOutcome* outcome = nullptr;
};

// Queues a dialog about to be created; the returned token withdraws it if no e_create took it.
std::uint64_t push_pending(PendingDialog pending);
void drop_pending(std::uint64_t token);
// The newest queued dialog, removed from the queue; nothing when none waits.
std::optional<PendingDialog> take_pending();

// The record of a dialog of the package; nullptr for any other window. The pointer stays valid
// until the dialog's record is removed (a handler called in between may remove it: look again).
DialogState* find_dialog(Window dlg);
DialogState& add_dialog(Window dlg, DialogState state);
void remove_dialog(Window dlg);
// Forgets every record and every queued dialog (the packages' reset).
void clear_dialog_state();

}  // namespace dialog_detail
