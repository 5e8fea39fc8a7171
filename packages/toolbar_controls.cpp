// The layer's controls in toolbars: the real list-button control of a tb_lbut, and showing and
// hiding the tooltip window.
#include "toolbar_internal.h"

namespace toolbar_detail {

void set_shown(Window win, bool shown) { win_SetState(win, {shown ? st_Visible : st_Invisible}); }

Window create_list_button(Window toolbar, const tb_lbut& def, const Rect& rect) {
  return win_CreateControl(wk_ListButton, rect, "", toolbar, {csf_TabStop}, def.id);
}

void show_list_button(Window ctl, const lbut_value& value, bool disabled) {
  lbox_Clear(ctl);
  if (!value.items.empty()) lbox_Add(ctl, -1, value.items);
  if (value.index >= 0 && value.index < static_cast<int>(value.items.size()))
    lbox_SetSel(ctl, value.index, 1);
  else
    lbox_SetSel(ctl, 0, 0);
  win_SetState(ctl, {disabled ? st_Disabled : st_Enabled});
}

}  // namespace toolbar_detail
