// Dialog windows: dialogs made from resource templates and from lists of controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "layer/events.h"
#include "layer/types.h"
#include "layer/window.h"

// Elements of a definition list for win_CreateDyn and win_CreateDynDialog. Rectangles are in
// pixels (left, top, right, bottom), in the parent's client coordinates.
struct wdef_toplevel {  // a top-level window (parent: the task window or the screen)
  Rect rect;
  std::string title;
  Menu menu = no_menu{};
  WinFlags flags;
};
struct wdef_child {  // a child window with its id
  Rect rect;
  std::string title;
  int id = 0;
  WinFlags flags;
};
struct wdef_dialog {  // a dialog: kind 6 (modal) or 7 (modeless)
  int kind = wk_ModalDialog;
  Rect rect;
  std::string title;
  WinFlags flags;
  std::optional<Font> font;  // none: the system dialog font
};
struct wdef_control {  // a control of kind 8..18 with its control flags
  int kind = wk_PushButton;
  Rect rect;
  std::string title;
  int id = 0;
  WinFlags flags;
};
struct wdef_custom {  // a custom control (kind 20) of a class registered with class_Create
  std::string class_name;
  Rect rect;
  std::string title;
  int id = 0;
  WinFlags flags;  // control flags: 11 invisible, 12 disabled, 25 group, 26 tab stop
};
using WinDef = std::variant<wdef_toplevel, wdef_child, wdef_dialog, wdef_control, wdef_custom>;

// Opens dialog resource `res_id` as a modal (kind 6) or modeless (kind 7) dialog of `parent`.
// e_create carries `creation_data`, with the focus already on the first control with a tab stop.
// A modal dialog runs its own loop: the call returns after the dialog has closed, with the
// window value it had; a modeless one returns its window at once. A missing resource is
// run-time error 6050, a failed creation 6304; parent not a window 6000; a kind other than
// 6 or 7, or a control as parent, 6001.
Window win_CreateResDialog(Window parent, int kind, int res_id, EventHandler handler,
                           std::int32_t creation_data);
// The controls of a definition list in `parent`, in list order: each wdef_control as by
// win_CreateControl, each wdef_custom as a custom control of its class (unknown class: 6302).
// Returns the first control made. An empty list: 6003; an element that defines no control: 6004
// (before any control is made). Controls stop being made when a handler destroys `parent`.
// Custom controls stand at the pixels given, also in a dialog laid out in a font of its own.
Window win_CreateDynControl(const std::vector<WinDef>& defs, Window parent);
// A window from a definition list: the head (wdef_toplevel or wdef_child) is made as by
// win_Create, then the controls as by win_CreateDynControl. Empty list 6003; a head of another
// kind 6004; a failed creation 6307.
Window win_CreateDyn(const std::vector<WinDef>& defs, Window parent, EventHandler handler,
                     std::int32_t creation_data);
// A dialog from a definition list whose head is a wdef_dialog; the controls (wdef_control,
// wdef_custom) follow. Laid out as a dialog template whose rectangles are the pixels turned
// into dialog units of the system dialog font. Otherwise as win_CreateResDialog; empty list
// 6003, another head 6004.
Window win_CreateDynDialog(const std::vector<WinDef>& defs, Window parent, EventHandler handler,
                           std::int32_t creation_data);
