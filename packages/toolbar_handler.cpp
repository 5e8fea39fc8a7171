// The event handler of toolbar windows: painting, the mouse on buttons, the tooltip timers, the
// re-layout request e_user(52, 0), list-button selections and the clean-up when a toolbar goes.
#include <algorithm>

#include "toolbar_internal.h"

namespace toolbar_detail {
namespace {

constexpr std::int32_t kRelayoutEvent = 52;

bool is_enabled_button(const ControlRecord& c) {
  const auto* v = std::get_if<ctrl_value>(&c.value);
  return std::holds_alternative<tb_ctrl>(c.def) && v && v->enabled;
}

void run_action(Window toolbar, std::int32_t id) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  if (!tb) return;
  if (toolbar_action act = action_at(tb->action)) act(toolbar, id);
}

std::optional<long> mouse_down(Window toolbar, const e_mousedown& ev) {
  if (ev.button != mb_Left) return std::nullopt;
  const std::optional<ControlRecord> c = control_under(toolbar, ev.point);
  if (!c || !is_enabled_button(*c)) return 0;  // disabled buttons ignore the mouse
  set_held(HeldRecord{toolbar, c->index});
  if (auto tip = tip_of(toolbar)) {
    tip->last_x = ev.point.x;
    tip->last_y = ev.point.y;
    store_tip(*tip);
  }
  redraw(toolbar, c->rect());
  return 0;
}

std::optional<long> mouse_up(Window toolbar, const e_mouseup& ev) {
  if (ev.button != mb_Left) return std::nullopt;
  const std::optional<HeldRecord> h = held();
  if (!h || h->toolbar != toolbar) return 0;
  set_held(std::nullopt);
  // A release outside the held button (or on a button disabled meanwhile) does nothing.
  const std::optional<ControlRecord> c = control_at(toolbar, h->control);
  if (c) redraw(toolbar, c->rect());
  const std::optional<ControlRecord> under = control_under(toolbar, ev.point);
  if (c && under && under->index == c->index && is_enabled_button(*c)) run_action(toolbar, c->id());
  return 0;
}

std::optional<long> mouse_move(Window toolbar, const e_mousemove& ev) {
  // A held button shows down only while the mouse is over it.
  if (const std::optional<HeldRecord> h = held(); h && h->toolbar == toolbar) {
    const std::optional<TipRecord> before = tip_of(toolbar);
    if (const std::optional<ControlRecord> c = control_at(toolbar, h->control); c && before) {
      const Rect r = c->rect();
      const auto inside = [&](int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
      if (inside(before->last_x, before->last_y) != inside(ev.point.x, ev.point.y)) redraw(toolbar, r);
    }
  }
  tip_mouse(toolbar, ev.point);
  return 0;
}

std::optional<long> list_button(Window toolbar, const e_control& ev) {
  if (!std::holds_alternative<selchanged>(ev.info)) return std::nullopt;
  for (ControlRecord c : controls_of(toolbar)) {
    if (c.ctl_win != ev.window) continue;
    auto* v = std::get_if<lbut_value>(&c.value);
    if (!v) return std::nullopt;
    std::int32_t index = -1;
    if (auto sel = lbox_GetSelIndex(ev.window)) index = *sel;
    v->index = index;
    replace_control(c);
    run_action(toolbar, c.id());
    return 0;
  }
  return std::nullopt;
}

void toolbar_gone(Window toolbar) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  if (!tb) return;
  // The help line must not keep describing a control that no longer exists.
  if (const std::optional<TipRecord> tip = tip_of(toolbar); tip && tip->control >= 0)
    help_line_show(toolbar, std::nullopt);
  tip_end(toolbar);
  if (tb->tip_win && win_GetType(tb->tip_win) != wk_NotAWindow) win_Destroy(tb->tip_win);
  forget_toolbar(toolbar);
  if (win_GetType(tb->parent) != wk_NotAWindow) {
    toolbar_update_margins(tb->parent);
    toolbar_resize(tb->parent);
  }
}

}  // namespace

std::optional<long> toolbar_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_update>(ev)) {
    paint_toolbar(win);
    return 0;
  }
  if (const auto* e = std::get_if<e_mousedown>(&ev)) return mouse_down(win, *e);
  // The second press of a quick double click is a press like the first.
  if (const auto* e = std::get_if<e_mousedbl>(&ev)) return mouse_down(win, e_mousedown{e->point, e->shift, e->button});
  if (const auto* e = std::get_if<e_mouseup>(&ev)) return mouse_up(win, *e);
  if (const auto* e = std::get_if<e_mousemove>(&ev)) return mouse_move(win, *e);
  if (const auto* e = std::get_if<e_timer>(&ev)) return tip_timer(win, e->id) ? std::optional<long>(0) : std::nullopt;
  if (const auto* e = std::get_if<e_user>(&ev)) {
    if (e->id != kRelayoutEvent) return std::nullopt;
    toolbar_fit(win);
    return 0;
  }
  if (const auto* e = std::get_if<e_control>(&ev)) return list_button(win, *e);
  if (std::holds_alternative<e_destroy>(ev)) {
    toolbar_gone(win);
    return 0;
  }
  return std::nullopt;
}

}  // namespace toolbar_detail
