// The message window's handler (pop-up menu, flush timer, deferred position, menu commands,
// clean-up) and its re-positioning after the task window changed size.
#include <algorithm>

#include "layer/editor.h"
#include "message_window_facts.h"
#include "message_window_geometry.h"
#include "message_window_internal.h"
#include "packages/message_window.h"

using namespace msg_facts;

namespace {

void show_popup(Window win, Point at) {
  std::int32_t start = 0, end = 0;
  edit_GetSelection(win, start, end);
  const bool can_copy = !(start == 0 && end == 0);
  menu_PopUp(win,
             dyn_menu{{menu_item::txt(msg_cmd_Copy, "&Copy", can_copy), menu_item::txt(msg_cmd_Search, "&Search..."),
                       menu_item::txt(msg_cmd_SearchAgain, "Search &again"), menu_item::txt(msg_cmd_Font, "&Font"),
                       menu_item::txt(msg_cmd_Clear, "C&lear")}},
             at, align_Left);
}

bool is_editor_command(int tag) {
  const std::vector<int>& ids = edit_CommandIds();
  return std::find(ids.begin(), ids.end(), tag) != ids.end();
}

std::optional<long> on_menu(Window win, const e_menu& m) {
  switch (m.tag) {
    case msg_cmd_ApplyPosition:
      uix_ProcessPending();
      if (win_GetType(win) == wk_NotAWindow || win_IsMaximized(win) || win_IsMinimized(win)) return 1;
      if (const std::optional<RectFact> r = msg_newrct.take_first()) win_Move(win, from_fact(*r));
      return 1;
    case msg_cmd_Copy: edit_Copy(win); return 1;
    case msg_cmd_Search: edit_SearchDlg(win); return 1;
    case msg_cmd_SearchAgain: edit_SearchAgain(win); return 1;
    case msg_cmd_Font: edit_SetFontDlg(win); return 1;
    case msg_cmd_Clear: msg_Clear(); return 1;
    default: break;
  }
  if (is_editor_command(m.tag)) return std::nullopt;  // the editor carries it out
  win_SendEvent(win_GetParent(win), m);
  return 1;
}

std::optional<long> on_timer(Window win, const e_timer& t) {
  if (std::optional<std::string> pending = msg_buffer.take_first()) msg_detail::add_str(win, *pending);
  if (msg_timer.get() == t.id) {
    msg_timer.retract_all();
    timer_Kill(t.id);
  }
  return 1;
}

}  // namespace

std::optional<long> mess_win_handler(Window win, const Event& ev) {
  if (const auto* up = std::get_if<e_mouseup>(&ev)) {
    if (up->button != mb_Right) return std::nullopt;
    show_popup(win, up->point);
    return 1;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    // A flush timer still running would keep its entry in the timer table.
    if (const std::optional<std::int32_t> timer = msg_timer.get()) timer_Kill(*timer);
    clear_all();
    return 0;
  }
  if (std::holds_alternative<e_size>(ev)) {
    if (msg_newrct.get()) win_PostEvent(win, e_menu{msg_cmd_ApplyPosition, 0});
    return 0;
  }
  if (const auto* m = std::get_if<e_menu>(&ev)) return on_menu(win, *m);
  if (const auto* t = std::get_if<e_timer>(&ev)) return on_timer(win, *t);
  return std::nullopt;
}

void msg_Resize(Window task_win) {
  if (win_IsMinimized(task_win)) return;
  const std::optional<Window> win = msg_detail::live_window();
  if (!win) return;
  const Rect rect = msg_geometry::resize_rect(win_GetClientRect(task_win), msg_geometry::task_margins());
  if (!win_IsMinimized(*win) && !win_IsMaximized(*win))
    win_Move(*win, rect);
  else
    msg_newrct.replace(to_fact(rect));
}
