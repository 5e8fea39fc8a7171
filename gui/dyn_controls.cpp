// win_CreateDynControl: the controls of a definition list, made in an existing window.
#include "internal/control_create.h"
#include "internal/geometry.h"
#include "internal/window_record.h"
#include "layer/controls.h"
#include "layer/dialog_window.h"
#include "runtime/run_error.h"

using namespace gui_detail;

Window win_CreateDynControl(const std::vector<WinDef>& defs, Window parent) {
  if (defs.empty()) RUN_Error(errcode::kEmptyList);
  if (parent != kScreenWindow) checked_record(parent);
  for (const WinDef& d : defs)
    if (!std::holds_alternative<wdef_control>(d) && !std::holds_alternative<wdef_custom>(d))
      RUN_Error(errcode::kBadDefinition);
  Window first = 0;
  for (const WinDef& d : defs) {
    const WindowRecord* p = find_record(parent);
    if (parent != kScreenWindow && (!p || p->dying)) break;  // a handler destroyed the parent
    Window made = 0;
    if (const auto* c = std::get_if<wdef_control>(&d))
      made = win_CreateControl(c->kind, c->rect, c->title, parent, c->flags, c->id);
    else if (const auto* u = std::get_if<wdef_custom>(&d))
      made = create_custom_px(parent, u->class_name, to_qrect(u->rect), u->title, u->flags, u->id);
    if (!first) first = made;
  }
  return first;
}
