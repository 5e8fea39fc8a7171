// What the toolbar package remembers, kept in fact tables of its own: per toolbar its window,
// parent, placement, colour, size and action; per control its toolbar, definition, rectangle
// and current value; per toolbar its tooltip state; and the button that is held down.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "packages/toolbar.h"

namespace toolbar_detail {

struct ToolbarRecord {
  Window win = 0;
  Window parent = 0;
  toolbar_style placement;
  Color background = 0;
  std::int32_t width = 0;   // the room the controls need (an edge toolbar is stretched along
  std::int32_t height = 0;  // its edge)
  std::int32_t action = 0;  // index into the action table
  Window tip_win = 0;       // the tooltip window
  std::int32_t left = 0;    // where the toolbar stands now, in its parent's client co-ordinates
  std::int32_t top = 0;     // (screen co-ordinates for a free-standing toolbar)
  auto fields() { return std::tie(win, parent, placement, background, width, height, action, tip_win, left, top); }
};

struct ControlRecord {
  Window toolbar = 0;
  std::int32_t index = 0;  // position in the control list
  toolbar_control def;
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  toolbar_value value;
  Window ctl_win = 0;  // the real control of a list button
  auto fields() { return std::tie(toolbar, index, def, left, top, right, bottom, value, ctl_win); }
  Rect rect() const { return Rect{left, top, right, bottom}; }
  std::int32_t id() const;
};

// The tooltip state of one toolbar. Timer ids are 0 while the timer does not run; `control` is
// the index of the control under the mouse, -1 for none.
struct TipRecord {
  Window toolbar = 0;
  std::int32_t control = -1;
  std::string text;  // the tooltip being shown or about to be
  std::int32_t first_timer = 0;
  std::int32_t show_timer = 0;
  std::int32_t hide_timer = 0;
  bool in_use = false;         // a tooltip has been shown and the mouse has stayed on the toolbar
  bool first_pending = false;  // the first-time timer runs
  bool shown = false;          // the tooltip window is visible
  std::int32_t last_x = 0, last_y = 0;  // last mouse position, toolbar co-ordinates
  auto fields() {
    return std::tie(toolbar, control, text, first_timer, show_timer, hide_timer, in_use, first_pending, shown,
                    last_x, last_y);
  }
};

// The button held down: its toolbar and control index.
struct HeldRecord {
  Window toolbar = 0;
  std::int32_t control = 0;
  auto fields() { return std::tie(toolbar, control); }
};

// What the package has added to the task window's client margins.
struct MarginRecord {
  std::int32_t top = 0, bottom = 0, left = 0, right = 0;
  auto fields() { return std::tie(top, bottom, left, right); }
};

// Toolbars.
void add_toolbar(const ToolbarRecord& rec);
std::optional<ToolbarRecord> find_toolbar(Window win);
void replace_toolbar(const ToolbarRecord& rec);
// The toolbars of `parent`, in creation order.
std::vector<ToolbarRecord> toolbars_of(Window parent);
std::vector<ToolbarRecord> all_toolbars();

// Controls.
void add_control(const ControlRecord& rec);
std::vector<ControlRecord> controls_of(Window toolbar);
std::optional<ControlRecord> control_at(Window toolbar, std::int32_t index);
void replace_control(const ControlRecord& rec);

// Tooltip state.
std::optional<TipRecord> tip_of(Window toolbar);
void store_tip(const TipRecord& rec);

// The held button.
std::optional<HeldRecord> held();
void set_held(std::optional<HeldRecord> rec);

MarginRecord margins_added();
void set_margins_added(const MarginRecord& rec);

// Removes every record of the toolbar.
void forget_toolbar(Window toolbar);

// The action table: the index of an action (added at first use) and the action of an index.
std::int32_t action_index(toolbar_action action);
toolbar_action action_at(std::int32_t index);

// Forgets every toolbar, control, tip, the held button, the margins added and the action table
// (the packages' reset).
void clear_toolbar_state();

}  // namespace toolbar_detail
