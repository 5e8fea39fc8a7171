// The toolbar package: rows of bitmap buttons, text fields and list buttons along an edge of a
// window (or at a point inside it), tooltips and the help line, and a button click turned into a
// menu event of the window that owns the toolbar. Written on the windowing layer only.
//
// The types below are plain values; each carries the functor name and field list under which
// the package keeps it in its fact tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>
#include <vector>

#include "layer/layer.h"

// Placement (toolbar_style), in this order.
struct tb_top {
  static constexpr std::string_view functor = "tb_top";
  auto fields() { return std::tie(); }
  friend bool operator==(const tb_top&, const tb_top&) = default;
};
struct tb_left {
  static constexpr std::string_view functor = "tb_left";
  auto fields() { return std::tie(); }
  friend bool operator==(const tb_left&, const tb_left&) = default;
};
struct tb_bottom {
  static constexpr std::string_view functor = "tb_bottom";
  auto fields() { return std::tie(); }
  friend bool operator==(const tb_bottom&, const tb_bottom&) = default;
};
struct tb_right {
  static constexpr std::string_view functor = "tb_right";
  auto fields() { return std::tie(); }
  friend bool operator==(const tb_right&, const tb_right&) = default;
};
// At a fixed point (the toolbar's top left corner) in the parent's client co-ordinates.
struct tb_inside {
  static constexpr std::string_view functor = "tb_inside";
  Point at;
  auto fields() { return std::tie(at.x, at.y); }
  friend bool operator==(const tb_inside&, const tb_inside&) = default;
};
// A free-standing toolbar: a small pop-up window with a title bar at `at` (screen co-ordinates);
// its clicks still go to the window it was created for.
struct tb_moveable {
  static constexpr std::string_view functor = "tb_moveable";
  Point at;
  std::string title;  // cp1251
  auto fields() { return std::tie(at.x, at.y, title); }
  friend bool operator==(const tb_moveable&, const tb_moveable&) = default;
};
using toolbar_style = std::variant<tb_top, tb_left, tb_bottom, tb_right, tb_inside, tb_moveable>;

// Button style and text style.
enum toolbar_control_style : std::int32_t { pushb = 1, checkb = 2 };
enum toolbar_text_style : std::int32_t { tb_static = 1, tb_context = 2 };

// A bitmap button. `text` is "tooltip;help-line text"; a text without ";" is the help-line
// text alone and the button has no tooltip. Both are shown as the user reads them (each part
// through uix_Translate: Russian under a Russian locale); the text kept is the one given.
// `enabled` is the first flag; `second` is kept and handed back but changes nothing.
struct tb_ctrl {
  static constexpr std::string_view functor = "tb_ctrl";
  std::int32_t id = 0;
  std::int32_t style = pushb;
  std::int32_t up = 0, down = 0, grey = 0;  // bitmap resource ids
  std::string text;
  bool enabled = true;
  bool second = true;
  auto fields() { return std::tie(id, style, up, down, grey, text, enabled, second); }
  friend bool operator==(const tb_ctrl&, const tb_ctrl&) = default;
};
// A text field: `width` pixels wide, as high as the text "Wy" in the font of `family` and
// `size` points, drawn in `color`. A tb_context field is the help line.
struct tb_text {
  static constexpr std::string_view functor = "tb_text";
  std::int32_t id = 0;
  std::int32_t style = tb_static;
  std::uint16_t width = 0;
  std::int32_t integer = 0;  // kept, not used
  std::int32_t family = 4;
  std::uint16_t size = 10;
  Color color = 0;
  std::string text;  // the initial text
  auto fields() { return std::tie(id, style, width, integer, family, size, color, text); }
  friend bool operator==(const tb_text&, const tb_text&) = default;
};
// A list button (a drop-down list) `width` pixels wide and 24 high; `disabled` greys it.
struct tb_lbut {
  static constexpr std::string_view functor = "tb_lbut";
  std::int32_t id = 0;
  std::uint16_t width = 0;
  std::vector<std::string> items;
  bool disabled = false;
  std::int32_t selected = 0;
  auto fields() { return std::tie(id, width, items, disabled, selected); }
  friend bool operator==(const tb_lbut&, const tb_lbut&) = default;
};
// A gap between groups of controls; two in a row leave a double gap.
struct separator {
  static constexpr std::string_view functor = "separator";
  auto fields() { return std::tie(); }
  friend bool operator==(const separator&, const separator&) = default;
};
// The following controls start a new row (a new column on a left or right toolbar).
struct new_row {
  static constexpr std::string_view functor = "new_row";
  auto fields() { return std::tie(); }
  friend bool operator==(const new_row&, const new_row&) = default;
};
using toolbar_control = std::variant<tb_ctrl, tb_text, tb_lbut, separator, new_row>;

// The value of a control, read and changed by toolbar_GetValue and toolbar_SetValue.
struct ctrl_value {
  static constexpr std::string_view functor = "ctrl_value";
  bool enabled = true;
  bool second = true;
  auto fields() { return std::tie(enabled, second); }
  friend bool operator==(const ctrl_value&, const ctrl_value&) = default;
};
struct text_value {
  static constexpr std::string_view functor = "text_value";
  std::string text;
  auto fields() { return std::tie(text); }
  friend bool operator==(const text_value&, const text_value&) = default;
};
struct lbut_value {
  static constexpr std::string_view functor = "lbut_value";
  std::vector<std::string> items;
  std::int32_t index = 0;
  auto fields() { return std::tie(items, index); }
  friend bool operator==(const lbut_value&, const lbut_value&) = default;
};
struct none {
  static constexpr std::string_view functor = "none";
  auto fields() { return std::tie(); }
  friend bool operator==(const none&, const none&) = default;
};
using toolbar_value = std::variant<ctrl_value, text_value, lbut_value, none>;

// What a toolbar does with a click on an enabled button with id `id` (and with a new selection
// of one of its list buttons).
using toolbar_action = void (*)(Window toolbar, std::int32_t id);

// The default action: posts e_menu(Id, 0) to the toolbar's parent window.
void send_message_to_parent_win(Window toolbar, std::int32_t id);

// Creates a toolbar on `parent` with the controls in order and returns the toolbar's window.
// Edge toolbars of the task window take their room from its client area (client margins), so
// the MDI area never lies under them. Raises the layer's errors (a missing bitmap: 6054).
Window toolbar_create(const toolbar_style& placement, Color background, Window parent,
                      const std::vector<toolbar_control>& controls);
Window toolbar_create(const toolbar_style& placement, Color background, Window parent,
                      const std::vector<toolbar_control>& controls, toolbar_action action);

// Destroys the toolbar `win`, or every toolbar that `win` owns, gives the client margins back
// and lays out the remaining toolbars of the parent. A window without toolbars: nothing happens.
void toolbar_remove(Window win);
// Posts e_user(52, 0) to every edge toolbar of `parent`; each then fits itself to its edge of
// the parent's current client area. Parents call it on e_size.
void toolbar_resize(Window parent);
// The rectangle of the parent's toolbar with that placement (the first such toolbar), in the
// parent's client co-ordinates; nothing when there is none.
std::optional<Rect> toolbar_GetRect(Window parent, const toolbar_style& placement);

// Sets the value of control `id` on the toolbar `win` or on a toolbar that `win` owns, and
// shows it: a button redrawn enabled or disabled, a list button's items and selection replaced,
// a text field's text replaced. Fails (false) when there is no such control or the value does
// not fit its kind.
bool toolbar_SetValue(Window win, std::int32_t id, const toolbar_value& value);
// The current value of control `id` (found as for toolbar_SetValue); nothing when there is none.
std::optional<toolbar_value> toolbar_GetValue(Window win, std::int32_t id);

// Gives button `id` (found as for toolbar_SetValue) a new help-line text; its tooltip stays.
// While the mouse is over the button the help line shows the new text at once. Fails (false)
// when there is no such button.
bool toolbar_SetHelpText(Window win, std::int32_t id, std::string_view help);

// Whether `win` is a toolbar of this package.
bool toolbar_IsToolbar(Window win);

// The two parts of a button text: the tooltip (before the first ";"; empty when there is no
// ";") and the help-line text (after it; the whole text when there is no ";").
struct toolbar_texts {
  std::string tooltip;
  std::string help;
};
toolbar_texts toolbar_SplitText(std::string_view text);
