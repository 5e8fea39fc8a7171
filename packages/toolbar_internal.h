// Shared among the toolbar package's files: the handler, geometry of toolbars on their parent,
// the help line, the tooltip, painting and measuring.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "packages/toolbar.h"
#include "toolbar_state.h"

namespace toolbar_detail {

// The event handler of every toolbar window and of every tooltip window.
std::optional<long> toolbar_eh(Window win, const Event& ev);
std::optional<long> tooltip_eh(Window win, const Event& ev);

// Placement number 1..6 (tb_top … tb_moveable).
inline int placement_no(const toolbar_style& s) { return static_cast<int>(s.index()) + 1; }
inline bool is_edge(const toolbar_style& s) { return s.index() <= 3; }
inline bool is_vertical(const toolbar_style& s) {
  return std::holds_alternative<tb_left>(s) || std::holds_alternative<tb_right>(s);
}

// The rectangle of the toolbar on its parent's client area `client`, with the toolbars of the
// same parent in creation order: edge toolbars of one edge stack outwards in, and left and right
// toolbars take the height that the top and bottom toolbars leave.
Rect toolbar_place(const ToolbarRecord& tb, const std::vector<ToolbarRecord>& siblings, const Rect& client);
// Moves the toolbar to its place on the parent's current client area.
void toolbar_fit(Window toolbar);
// Sets the task window's client margins from its edge toolbars (giving back what the package
// added before); a parent that is not the task window is left alone.
void toolbar_update_margins(Window parent);

// The control under a point of the toolbar (index), if any.
std::optional<ControlRecord> control_under(Window toolbar, Point p);

// Redraws the part of the toolbar (the whole toolbar when no part is given).
void redraw(Window toolbar, const std::optional<Rect>& part = std::nullopt);

// The help line that serves `toolbar`: the tb_context field of a toolbar of the same parent,
// else of any toolbar. Shows `text` as the user reads it (uix_Translate), or the field's initial
// text when `text` is nothing.
void help_line_show(Window toolbar, const std::optional<std::string>& text);

// Tooltips: the mouse moved over the toolbar; a timer of the toolbar ticked; the toolbar goes.
void tip_mouse(Window toolbar, Point p);
bool tip_timer(Window toolbar, std::int32_t timer_id);
void tip_end(Window toolbar);

// Drawing and measuring through the layer's pictures and drawing operations.
struct Size {
  int width = 0;
  int height = 0;
};
Size measure_bitmap(std::int32_t res_id);
int measure_text_height(Window toolbar, const tb_text& field);
void paint_toolbar(Window toolbar);
void paint_tooltip(Window tip, const std::string& text);
Size measure_tooltip(Window tip, const std::string& text);
Font tooltip_font();

// Showing and hiding a window, and the real list-button controls.
void set_shown(Window win, bool shown);
Window create_list_button(Window toolbar, const tb_lbut& def, const Rect& rect);
void show_list_button(Window ctl, const lbut_value& value, bool disabled);

}  // namespace toolbar_detail
