// Tooltips and the help line of toolbars. Three timers per toolbar, each killed before it is set
// again: the first-time timer (1000 ms) shows the first tooltip after the mouse rested on a
// control; while tooltips are in use the show timer (500 ms) shows the tooltip of the next
// control; the hide timer (every 500 ms while the mouse is on a control or a tooltip is in use)
// ends it all once the mouse has left the toolbar, and gives the help line its initial text back.
#include <algorithm>

#include "toolbar_internal.h"

namespace toolbar_detail {
namespace {

constexpr std::int32_t kFirstDelay = 1000;
constexpr std::int32_t kShowDelay = 500;
constexpr std::int32_t kHideCheck = 500;
// The tooltip stands this far below (or above) the mouse position.
constexpr int kBelowMouse = 20;
constexpr int kAboveMouse = 4;

void kill(std::int32_t& timer) {
  if (timer == 0) return;
  timer_Kill(timer);
  timer = 0;
}

void restart(std::int32_t& timer, Window win, std::int32_t interval) {
  kill(timer);
  timer = timer_Set(win, interval);
}

// Whether the mouse cursor is over the toolbar window now.
bool mouse_over(Window toolbar) {
  const Rect r = win_GetOuterRect(toolbar);
  const Point p = cursor_GetPos();
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void hide(const ToolbarRecord& tb, TipRecord& tip) {
  if (!tip.shown) return;
  tip.shown = false;
  if (win_GetType(tb.tip_win) != wk_NotAWindow) set_shown(tb.tip_win, false);
}

// Moves the tooltip window next to the last mouse position and shows it.
void show(const ToolbarRecord& tb, TipRecord& tip) {
  if (win_GetType(tb.tip_win) == wk_NotAWindow) return;
  const Size size = measure_tooltip(tb.tip_win, tip.text);
  const bool moveable = std::holds_alternative<tb_moveable>(tb.placement);
  const Rect area = win_GetClientRect(moveable ? tb.win : tb.parent);
  const int mx = tip.last_x + (moveable ? 0 : tb.left);
  const int my = tip.last_y + (moveable ? 0 : tb.top);
  int x = mx + 2;
  int y = my + kBelowMouse;
  if (y + size.height > area.bottom) y = std::max(0, my - kAboveMouse - size.height);
  x = std::max(0, std::min(x, area.right - size.width));
  win_Move(tb.tip_win, Rect{x, y, x + size.width, y + size.height});
  tip.shown = true;
  set_shown(tb.tip_win, true);
  win_BringToTop(tb.tip_win);
  win_Invalidate(tb.tip_win);
}

}  // namespace

void tip_mouse(Window toolbar, Point p) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  std::optional<TipRecord> tip = tip_of(toolbar);
  if (!tb || !tip) return;
  tip->last_x = p.x;
  tip->last_y = p.y;
  const std::optional<ControlRecord> c = control_under(toolbar, p);
  const std::int32_t index = c ? c->index : -1;
  if (index == tip->control) {
    store_tip(*tip);
    return;
  }
  tip->control = index;
  toolbar_texts texts;
  bool described = false;
  if (c)
    if (const auto* b = std::get_if<tb_ctrl>(&c->def)) {
      texts = toolbar_SplitText(b->text);
      described = true;
    }
  hide(*tb, *tip);
  kill(tip->show_timer);
  tip->text = uix_Translate(texts.tooltip);  // the tooltip as the user reads it
  if (!tip->text.empty()) {
    if (tip->in_use) {
      restart(tip->show_timer, toolbar, kShowDelay);
    } else {
      restart(tip->first_timer, toolbar, kFirstDelay);
      tip->first_pending = true;
    }
  } else {
    kill(tip->first_timer);
    tip->first_pending = false;
  }
  if (index >= 0 && tip->hide_timer == 0) tip->hide_timer = timer_Set(toolbar, kHideCheck);
  store_tip(*tip);
  // Last, as it may redraw a toolbar.
  help_line_show(toolbar, described ? std::optional<std::string>(texts.help) : std::nullopt);
}

bool tip_timer(Window toolbar, std::int32_t timer_id) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  std::optional<TipRecord> tip = tip_of(toolbar);
  if (!tb || !tip || timer_id == 0) return false;
  if (timer_id == tip->first_timer) {
    kill(tip->first_timer);
    tip->first_pending = false;
    if (tip->control >= 0 && !tip->text.empty() && mouse_over(toolbar)) {
      tip->in_use = true;
      show(*tb, *tip);
    }
  } else if (timer_id == tip->show_timer) {
    kill(tip->show_timer);
    if (tip->control >= 0 && !tip->text.empty() && tip->in_use) show(*tb, *tip);
  } else if (timer_id == tip->hide_timer) {
    if (mouse_over(toolbar)) return true;
    const bool described = tip->control >= 0;
    hide(*tb, *tip);
    kill(tip->first_timer);
    kill(tip->show_timer);
    kill(tip->hide_timer);
    tip->in_use = false;
    tip->first_pending = false;
    tip->control = -1;
    store_tip(*tip);
    if (described) help_line_show(toolbar, std::nullopt);
    return true;
  } else {
    return false;
  }
  store_tip(*tip);
  return true;
}

void tip_end(Window toolbar) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  std::optional<TipRecord> tip = tip_of(toolbar);
  if (!tb || !tip) return;
  hide(*tb, *tip);
  kill(tip->first_timer);
  kill(tip->show_timer);
  kill(tip->hide_timer);
  tip->in_use = false;
  tip->first_pending = false;
  tip->control = -1;
  store_tip(*tip);
}

std::optional<long> tooltip_eh(Window win, const Event& ev) {
  if (!std::holds_alternative<e_update>(ev)) return std::nullopt;
  for (const ToolbarRecord& tb : all_toolbars()) {
    if (tb.tip_win != win) continue;
    if (const std::optional<TipRecord> tip = tip_of(tb.win)) paint_tooltip(win, tip->text);
    return 0;
  }
  return std::nullopt;
}

}  // namespace toolbar_detail
