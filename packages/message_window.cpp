// Creating the message window, writing into it (the screen device's console routines, the
// partial-line buffer and its flush timer, the line limit) and the package's other operations.
#include "packages/message_window.h"

#include "layer/editor.h"
#include "message_window_facts.h"
#include "message_window_geometry.h"
#include "message_window_internal.h"
#include "runtime/console_output.h"
#include "runtime/run_error.h"

using namespace msg_facts;

namespace {

bool contains_nl(std::string_view text) { return text.find('\n') != std::string_view::npos; }

void check_starttimer(Window win) {
  if (msg_timer.get()) return;
  msg_timer.replace(timer_Set(win, kMsgFlushInterval));
}

void wr_str_con(std::string_view text) { msg_detail::out_str(text); }
void wr_ch_con(char ch) { msg_detail::out_str(std::string_view(&ch, 1)); }

}  // namespace

namespace msg_detail {

std::optional<Window> live_window() {
  const std::optional<std::uint32_t> win = mess_win.get();
  if (!win) return std::nullopt;
  if (win_GetType(*win) != wk_NotAWindow) return *win;
  clear_all();  // the run that had the window ended without telling it
  return std::nullopt;
}

void add_str(Window win, const std::string& text) {
  const std::optional<std::int32_t> limit = max_no_lines.get();
  if (!limit) return;
  edit_AppendStr(win, text, *limit);
  if (msg_debug.get()) uix_ProcessPending();
}

void out_str(std::string_view text) {
  const std::optional<Window> win = live_window();
  if (!win || text.empty()) return;
  if (contains_nl(text)) {
    if (const std::optional<std::int32_t> timer = msg_timer.take_first()) timer_Kill(*timer);
    std::string all;
    if (std::optional<std::string> pending = msg_buffer.take_first()) all = std::move(*pending);
    all += text;
    add_str(*win, all);
  } else {
    std::string pending = msg_buffer.take_first().value_or(std::string());
    pending += text;
    msg_buffer.replace(pending);
    check_starttimer(*win);
  }
}

}  // namespace msg_detail

Window msg_Create(std::int32_t max_lines) { return msg_Create("Messages", max_lines); }

Window msg_Create(const std::string& title, std::int32_t max_lines) {
  if (const std::optional<Window> win = msg_detail::live_window()) return *win;
  max_no_lines.replace(max_lines);
  const Window task = static_cast<Window>(uix_GetAttrVal(attr_TaskWindow));
  const Rect rect = msg_geometry::creation_rect(win_GetClientRect(task), uix_GetAttrVal(xQbx_tBarheight),
                                                uix_GetAttrVal(xQbx_sBarheight));
  const msg_geometry::InitialSize size = msg_geometry::get_initial_mes_win_size(win_GetClientRect(task).right);
  const WinFlags flags = {wsf_SizeBorder, wsf_Close,        wsf_Minimize, wsf_Maximize, wsf_ClipChildren,
                          wsf_ClipSiblings, wsf_TitleBar,   wsf_HScroll,  wsf_VScroll};
  const Window win = edit_CreateWrap(wk_TopLevel, rect, title, no_menu{}, task, flags, font_Create(ff_System, {}, 10),
                                     0, 1, size.wrap, "", 1, mess_win_handler);
  edit_StatusLineShow(win, 0);
  mess_win.replace(win);
  IO_SetConsoleFns(wr_str_con, wr_ch_con);
  return win;
}

std::optional<Window> msg_GetWin() { return msg_detail::live_window(); }

void msg_AppendStr(std::string_view text) { msg_detail::out_str(text); }

void msg_SetLines(std::int32_t max_lines) {
  max_no_lines.replace(max_lines);
  if (const std::optional<Window> win = msg_detail::live_window())
    if (edit_GetNumberOfLines(*win) >= max_lines) msg_Clear();
}

void msg_Clear() {
  const std::optional<Window> win = msg_detail::live_window();
  if (!win) return;
  edit_PasteStr(*win, "");
  edit_GotoPos(*win, 1);
}

void msg_SetFocus() {
  const std::optional<Window> win = msg_detail::live_window();
  if (!win || win_IsMinimized(*win)) return;
  try {
    win_SetFocus(*win);
  } catch (const RunError&) {
    // A window that refuses the focus keeps the focus where it is.
  }
  uix_ProcessPending();
}

void msg_FastUpdate(int flag) {
  if (flag == 0) {
    if (!msg_debug.get()) msg_debug.replace(1);
  } else if (flag == 1) {
    msg_debug.retract_all();
  }
}

int msg_FastUpdate() { return msg_debug.get() ? 0 : 1; }

void msg_close() {
  if (const std::optional<Window> win = msg_detail::live_window()) win_Destroy(*win);
}
