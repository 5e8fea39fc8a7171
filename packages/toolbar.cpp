// The toolbar package's operations: creating and removing toolbars, their place on the parent
// and the task window's client margins, and the values of their controls.
#include "packages/toolbar.h"

#include <algorithm>

#include "toolbar_internal.h"
#include "toolbar_layout.h"

using namespace toolbar_detail;

namespace {

// The screen window of the layer, the owner of a free-standing toolbar.
Window screen_window() { return static_cast<Window>(uix_GetAttrVal(attr_ScreenWindow)); }

toolbar_value initial_value(const toolbar_control& def) {
  if (const auto* c = std::get_if<tb_ctrl>(&def)) return ctrl_value{c->enabled, c->second};
  if (const auto* t = std::get_if<tb_text>(&def)) return text_value{t->text};
  if (const auto* l = std::get_if<tb_lbut>(&def)) return lbut_value{l->items, l->selected};
  return none{};
}

// Whether a value may be given to a control of that kind.
bool value_fits(const toolbar_control& def, const toolbar_value& value) {
  return (std::holds_alternative<tb_ctrl>(def) && std::holds_alternative<ctrl_value>(value)) ||
         (std::holds_alternative<tb_text>(def) && std::holds_alternative<text_value>(value)) ||
         (std::holds_alternative<tb_lbut>(def) && std::holds_alternative<lbut_value>(value));
}

// The control with that id on the toolbar `win` or on a toolbar that `win` owns.
std::optional<ControlRecord> find_control(Window win, std::int32_t id) {
  std::vector<ToolbarRecord> candidates;
  if (auto tb = find_toolbar(win))
    candidates.push_back(*tb);
  else
    candidates = toolbars_of(win);
  for (const ToolbarRecord& tb : candidates)
    for (const ControlRecord& c : controls_of(tb.win))
      if (c.id() == id && !std::holds_alternative<separator>(c.def) && !std::holds_alternative<new_row>(c.def))
        return c;
  return std::nullopt;
}

// Measures every entry of the list: buttons by their up bitmap, list buttons by their width and
// a height of 24, text fields by their width and the height of "Wy" in their font.
std::vector<Measured> measure(Window toolbar, const std::vector<toolbar_control>& controls) {
  std::vector<Measured> out;
  out.reserve(controls.size());
  for (const toolbar_control& def : controls) {
    Measured m;
    if (const auto* c = std::get_if<tb_ctrl>(&def)) {
      const Size s = measure_bitmap(c->up);
      m = Measured{Measured::control, s.width, s.height};
    } else if (const auto* t = std::get_if<tb_text>(&def)) {
      m = Measured{Measured::control, t->width, measure_text_height(toolbar, *t)};
    } else if (const auto* l = std::get_if<tb_lbut>(&def)) {
      m = Measured{Measured::control, l->width, 24};
    } else if (std::holds_alternative<separator>(def)) {
      m.kind = Measured::gap;
    } else {
      m.kind = Measured::row;
    }
    out.push_back(m);
  }
  return out;
}

// A click on a toolbar leaves the keyboard focus where it was: a button acts on what has it.
Window create_window(const toolbar_style& placement, Window parent) {
  Window tb = 0;
  if (const auto* m = std::get_if<tb_moveable>(&placement))
    tb = win_Create(wk_TopLevel, Rect{m->at.x, m->at.y, m->at.x + kEmptyCell, m->at.y + kEmptyCell}, m->title,
                    no_menu{}, screen_window(), {wsf_ThinBorder, wsf_TitleBar, wsf_TopMost}, toolbar_eh, 0);
  else
    tb = win_Create(wk_Child, Rect{0, 0, 0, 0}, "", res_menu{0}, parent, {wsf_ClipSiblings}, toolbar_eh, 0);
  win_SetClickFocus(tb, false);
  return tb;
}

}  // namespace

void send_message_to_parent_win(Window toolbar, std::int32_t id) {
  if (auto tb = find_toolbar(toolbar)) win_PostEvent(tb->parent, e_menu{id, 0});
}

Window toolbar_create(const toolbar_style& placement, Color background, Window parent,
                      const std::vector<toolbar_control>& controls) {
  return toolbar_create(placement, background, parent, controls, send_message_to_parent_win);
}

Window toolbar_create(const toolbar_style& placement, Color background, Window parent,
                      const std::vector<toolbar_control>& controls, toolbar_action action) {
  (void)win_GetClientRect(parent);  // a parent that is not a window: 6000
  if (!action) action = send_message_to_parent_win;
  const Window tb = create_window(placement, parent);
  Window tip = 0;
  try {
    const Layout layout = lay_out(measure(tb, controls), is_vertical(placement));

    const bool moveable = std::holds_alternative<tb_moveable>(placement);
    tip = win_Create(wk_Child, Rect{0, 0, 0, 0}, "", res_menu{0}, moveable ? tb : parent,
                     {wsf_Invisible, wsf_ClipSiblings}, tooltip_eh, 0);
    win_SetFont(tip, tooltip_font());

    ToolbarRecord rec;
    rec.win = tb;
    rec.parent = parent;
    rec.placement = placement;
    rec.background = background;
    rec.width = layout.width;
    rec.height = layout.height;
    rec.action = action_index(action);
    rec.tip_win = tip;
    if (const auto* m = std::get_if<tb_moveable>(&placement)) rec.left = m->at.x, rec.top = m->at.y;
    add_toolbar(rec);
    TipRecord tip_state;
    tip_state.toolbar = tb;
    store_tip(tip_state);

    for (std::size_t i = 0; i < controls.size(); ++i) {
      ControlRecord c;
      c.toolbar = tb;
      c.index = static_cast<std::int32_t>(i);
      c.def = controls[i];
      const Rect& r = layout.rects[i];
      c.left = r.left, c.top = r.top, c.right = r.right, c.bottom = r.bottom;
      c.value = initial_value(controls[i]);
      if (const auto* l = std::get_if<tb_lbut>(&controls[i])) {
        c.ctl_win = create_list_button(tb, *l, r);
        show_list_button(c.ctl_win, lbut_value{l->items, l->selected}, l->disabled);
      }
      add_control(c);
    }

    if (moveable)
      win_Move(tb, Rect{rec.left, rec.top, rec.left + rec.width, rec.top + rec.height});
    else
      toolbar_fit(tb);
    toolbar_update_margins(parent);
    toolbar_resize(parent);
    redraw(tb);
  } catch (...) {
    forget_toolbar(tb);
    if (tip && win_GetType(tip) != wk_NotAWindow) win_Destroy(tip);
    if (win_GetType(tb) != wk_NotAWindow) win_Destroy(tb);
    toolbar_update_margins(parent);
    throw;
  }
  return tb;
}

void toolbar_remove(Window win) {
  if (find_toolbar(win)) {
    win_Destroy(win);  // its e_destroy gives the room back and re-lays the others
    return;
  }
  for (const ToolbarRecord& tb : toolbars_of(win))
    if (win_GetType(tb.win) != wk_NotAWindow) win_Destroy(tb.win);
  toolbar_update_margins(win);
  toolbar_resize(win);
}

void toolbar_resize(Window parent) {
  for (const ToolbarRecord& tb : toolbars_of(parent))
    if (is_edge(tb.placement) && win_GetType(tb.win) != wk_NotAWindow) win_PostEvent(tb.win, e_user{52, 0});
}

std::optional<Rect> toolbar_GetRect(Window parent, const toolbar_style& placement) {
  const std::vector<ToolbarRecord> all = toolbars_of(parent);
  for (const ToolbarRecord& tb : all) {
    if (tb.placement.index() != placement.index()) continue;
    if (!is_edge(tb.placement))
      return Rect{tb.left, tb.top, tb.left + tb.width, tb.top + tb.height};
    return toolbar_place(tb, all, win_GetClientRect(parent));
  }
  return std::nullopt;
}

bool toolbar_SetValue(Window win, std::int32_t id, const toolbar_value& value) {
  std::optional<ControlRecord> c = find_control(win, id);
  if (!c || !value_fits(c->def, value)) return false;
  c->value = value;
  replace_control(*c);
  if (const auto* l = std::get_if<lbut_value>(&value)) {
    if (c->ctl_win) show_list_button(c->ctl_win, *l, std::get<tb_lbut>(c->def).disabled);
    return true;
  }
  if (const auto* v = std::get_if<ctrl_value>(&value); v && !v->enabled)
    if (auto h = held(); h && h->toolbar == c->toolbar && h->control == c->index) set_held(std::nullopt);
  redraw(c->toolbar, c->rect());
  return true;
}

std::optional<toolbar_value> toolbar_GetValue(Window win, std::int32_t id) {
  if (auto c = find_control(win, id)) return c->value;
  return std::nullopt;
}

bool toolbar_SetHelpText(Window win, std::int32_t id, std::string_view help) {
  std::optional<ControlRecord> c = find_control(win, id);
  auto* button = c ? std::get_if<tb_ctrl>(&c->def) : nullptr;
  if (!button) return false;
  // An empty tooltip is no tooltip, so the ";" keeps a help text with its own ";" whole.
  button->text = toolbar_SplitText(button->text).tooltip + ";" + std::string(help);
  replace_control(*c);
  if (const std::optional<TipRecord> tip = tip_of(c->toolbar); tip && tip->control == c->index)
    help_line_show(c->toolbar, std::string(help));
  return true;
}

bool toolbar_IsToolbar(Window win) { return find_toolbar(win).has_value(); }

namespace toolbar_detail {

Rect toolbar_place(const ToolbarRecord& tb, const std::vector<ToolbarRecord>& siblings, const Rect& client) {
  if (const auto* in = std::get_if<tb_inside>(&tb.placement))
    return Rect{in->at.x, in->at.y, in->at.x + tb.width, in->at.y + tb.height};
  if (!is_edge(tb.placement)) return Rect{tb.left, tb.top, tb.left + tb.width, tb.top + tb.height};
  // The room taken by the top and bottom toolbars, and by the toolbars of this toolbar's edge
  // that were made before it.
  int top_room = 0, bottom_room = 0, before = 0;
  bool passed = false;
  for (const ToolbarRecord& s : siblings) {
    if (s.win == tb.win) passed = true;
    if (std::holds_alternative<tb_top>(s.placement)) top_room += s.height;
    if (std::holds_alternative<tb_bottom>(s.placement)) bottom_room += s.height;
    if (!passed && s.placement.index() == tb.placement.index())
      before += is_vertical(s.placement) ? s.width : s.height;
  }
  const int w = client.right - client.left, h = client.bottom - client.top;
  switch (placement_no(tb.placement)) {
    case 1: return Rect{0, before, w, before + tb.height};
    case 3: return Rect{0, h - before - tb.height, w, h - before};
    case 2: return Rect{before, top_room, before + tb.width, std::max(top_room, h - bottom_room)};
    default: return Rect{w - before - tb.width, top_room, w - before, std::max(top_room, h - bottom_room)};
  }
}

void toolbar_fit(Window toolbar) {
  std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  if (!tb || std::holds_alternative<tb_moveable>(tb->placement)) return;
  const Rect r = toolbar_place(*tb, toolbars_of(tb->parent), win_GetClientRect(tb->parent));
  win_Move(toolbar, r);
  if (tb->left != r.left || tb->top != r.top) {
    tb->left = r.left;
    tb->top = r.top;
    replace_toolbar(*tb);
  }
}

void toolbar_update_margins(Window parent) {
  if (win_GetType(parent) != wk_Task) return;
  MarginRecord now;
  for (const ToolbarRecord& tb : toolbars_of(parent)) {
    switch (placement_no(tb.placement)) {
      case 1: now.top += tb.height; break;
      case 2: now.left += tb.width; break;
      case 3: now.bottom += tb.height; break;
      case 4: now.right += tb.width; break;
      default: break;
    }
  }
  const MarginRecord before = margins_added();
  const auto adjust = [](int attr, std::int32_t old_part, std::int32_t new_part) {
    if (old_part == new_part) return;
    uix_SetAttrVal(attr, std::max<std::int32_t>(0, uix_GetAttrVal(attr) - old_part + new_part));
  };
  adjust(xQbx_tBarheight, before.top, now.top);
  adjust(xQbx_sBarheight, before.bottom, now.bottom);
  adjust(xQbx_lBarheight, before.left, now.left);
  adjust(xQbx_rBarheight, before.right, now.right);
  set_margins_added(now);
}

std::optional<ControlRecord> control_under(Window toolbar, Point p) {
  for (const ControlRecord& c : controls_of(toolbar)) {
    if (std::holds_alternative<separator>(c.def) || std::holds_alternative<new_row>(c.def)) continue;
    if (p.x >= c.left && p.x < c.right && p.y >= c.top && p.y < c.bottom) return c;
  }
  return std::nullopt;
}

void redraw(Window toolbar, const std::optional<Rect>& part) {
  if (win_GetType(toolbar) == wk_NotAWindow) return;
  if (part)
    win_Invalidate(toolbar, *part);
  else
    win_Invalidate(toolbar);
}

void help_line_show(Window toolbar, const std::optional<std::string>& text) {
  const std::optional<ToolbarRecord> own = find_toolbar(toolbar);
  if (!own) return;
  std::vector<ToolbarRecord> candidates = toolbars_of(own->parent);
  for (const ToolbarRecord& t : all_toolbars())
    if (t.parent != own->parent) candidates.push_back(t);
  for (const ToolbarRecord& t : candidates) {
    for (ControlRecord c : controls_of(t.win)) {
      const auto* field = std::get_if<tb_text>(&c.def);
      if (!field || field->style != tb_context) continue;
      // The help texts are the system's: shown as the user reads them.
      const std::string shown = text ? uix_Translate(*text) : field->text;
      if (const auto* v = std::get_if<text_value>(&c.value); v && v->text == shown) return;
      c.value = text_value{shown};
      replace_control(c);
      redraw(t.win, c.rect());
      return;
    }
  }
}

}  // namespace toolbar_detail
