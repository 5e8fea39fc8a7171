// Running a dialog of the package: the modal and the modeless creation and the answer of a modal
// dialog.
#include "dialog_handler.h"
#include "dialog_state.h"
#include "packages/dialog_package.h"
#include "runtime/run_error.h"

using namespace dialog;
using namespace dialog_detail;

namespace {

// Creates the dialog with the package's handler; 0 after the error box when it cannot be made
// (a run-time error of the creation itself: a missing resource, a parent that is not a window).
Window create(Window parent, int kind, int res_id, PendingDialog pending, std::int32_t creation_data) {
  ModalOutcome* outcome = pending.outcome;
  const std::uint64_t token = push_pending(std::move(pending));
  Window dlg = 0;
  try {
    dlg = win_CreateResDialog(parent, kind, res_id, dialog_package_eh, creation_data);
  } catch (const RunError&) {
    drop_pending(token);
    if (outcome && outcome->window)
      if (DialogState* st = find_dialog(outcome->window); st && st->outcome == outcome) st->outcome = nullptr;
    dlg_Error("Error <dialog_Create>");
    return 0;
  }
  drop_pending(token);
  return dlg;
}

}  // namespace

Result dialog_CreateModal(Window parent, int res_id, const std::string& title, const FieldList& fields,
                          EventHandler handler, std::int32_t creation_data) {
  ModalOutcome outcome;
  if (!create(parent, wk_ModalDialog, res_id, {title, fields, handler, &outcome}, creation_data)) return {};
  if (!outcome.window) {  // the dialog never reached its e_create
    dlg_Error("Error <dialog_Create>");
    return {};
  }
  // Normally the record went with the dialog's e_destroy; if it is still there, the result is
  // taken from it and the record forgets this call.
  if (DialogState* st = find_dialog(outcome.window); st && st->outcome == &outcome) {
    outcome.result = st->result;
    outcome.values = st->result_values;
    st->outcome = nullptr;
  }
  if (outcome.result == answer_ok) return {answer_ok, std::move(outcome.values)};
  return {answer_cancel, {}};
}

Window dialog_CreateModeless(Window parent, int res_id, const std::string& title, const FieldList& fields,
                             EventHandler handler, std::int32_t creation_data) {
  return create(parent, wk_ModelessDialog, res_id, {title, fields, handler, nullptr}, creation_data);
}
