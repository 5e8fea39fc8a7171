// win_CreateResDialog, win_CreateDyn and win_CreateDynDialog.
#include "layer/dialog_window.h"

#include "internal/dialog_build.h"
#include "internal/dialog_template.h"
#include "internal/resource_lookup.h"
#include "internal/window_record.h"
#include "layer/controls.h"
#include "layer/win_ops.h"
#include "runtime/run_error.h"

using namespace gui_detail;

Window win_CreateResDialog(Window parent, int kind, int res_id, EventHandler handler,
                           std::int32_t creation_data) {
  if (parent != kScreenWindow) checked_record(parent);
  if (kind != wk_ModalDialog && kind != wk_ModelessDialog) RUN_Error(errcode::kWrongKind);
  const ResDialog* def = find_dialog_resource(res_id);
  if (!def) RUN_Error(errcode::kNoDialogResource);
  return open_dialog(template_from_resource(*def), parent, kind, handler, creation_data);
}

Window win_CreateDyn(const std::vector<WinDef>& defs, Window parent, EventHandler handler,
                     std::int32_t creation_data) {
  if (defs.empty()) RUN_Error(errcode::kEmptyList);
  const auto* top = std::get_if<wdef_toplevel>(&defs.front());
  const auto* child = std::get_if<wdef_child>(&defs.front());
  if (!top && !child) RUN_Error(errcode::kBadDefinition);
  Window win = 0;
  try {
    if (top)
      win = win_Create(wk_TopLevel, top->rect, top->title, top->menu, parent, top->flags, handler, creation_data);
    else
      win = win_Create(wk_Child, child->rect, child->title, res_menu{child->id}, parent, child->flags, handler,
                       creation_data);
  } catch (const RunError& e) {
    if (e.code() == errcode::kWindowNotCreated) RUN_Error(errcode::kDefinitionNotCreated);  // its window failed
    throw;
  }
  if (!is_window(win)) RUN_Error(errcode::kDefinitionNotCreated);
  if (defs.size() > 1) win_CreateDynControl(std::vector<WinDef>(defs.begin() + 1, defs.end()), win);
  return win;
}

Window win_CreateDynDialog(const std::vector<WinDef>& defs, Window parent, EventHandler handler,
                           std::int32_t creation_data) {
  if (defs.empty()) RUN_Error(errcode::kEmptyList);
  const auto* head = std::get_if<wdef_dialog>(&defs.front());
  if (!head) RUN_Error(errcode::kBadDefinition);
  if (parent != kScreenWindow) checked_record(parent);
  const std::vector<WinDef> rest(defs.begin() + 1, defs.end());
  return open_dialog(template_from_definitions(*head, rest), parent, head->kind, handler, creation_data);
}
