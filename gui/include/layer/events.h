// The event domain: one struct per event kind, e_create (1) … e_deactivate (32) and
// e_dropfiles (33), held in the variant Event whose alternative index + 1 is the event's code;
// the control info of e_control and the state items of e_state; and the shape of an event
// handler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "layer/types.h"

// Shift state bits of keyboard and mouse events, sampled when the event is built.
enum ShiftState : int { ss_Shift = 1, ss_Control = 2, ss_Alt = 4 };
// Mouse buttons.
enum MouseButton : int { mb_Left = 0, mb_Right = 1, mb_Middle = 2 };
// Scroll codes of e_vscroll, e_hscroll and the scroll control info.
enum ScrollCode : int {
  sc_EndScroll = 0, sc_LineUp = 1, sc_LineDown = 2, sc_PageUp = 3, sc_PageDown = 4,
  sc_ThumbPosition = 5, sc_ThumbTrack = 6, sc_Top = 7, sc_Bottom = 8
};

// Control info, the fourth field of e_control.
struct scroll { int code = 0; int pos = 0; };
struct getfocus {};
struct losefocus {};
struct modified {};
struct selchanged {};
struct activated {};
struct closeup {};
struct dropdown {};
// A click on the header of column `column` of a multi-column list (layer/listview.h).
struct headerclick { int column = 0; };
// The user showed (visible) or hid column `column` of a multi-column list from its header's menu.
struct colvisible { int column = 0; bool visible = false; };
// Files were dropped on a control that accepts them (win_AcceptFiles): their paths, in the
// order given, in the host's form as cp1251 text (as dlg_GetFileName gives them).
struct dropfiles { std::vector<std::string> files; };
using ControlInfo = std::variant<scroll, getfocus, losefocus, modified, selchanged, activated, closeup, dropdown,
                                 headerclick, colvisible, dropfiles>;

// State items, the field of e_state (and the elements that win_SetState reports).
struct font { Font value; };
struct text { std::string value; };  // cp1251
struct disabled {};
struct enabled {};
struct invisible {};
struct visible {};
using StateItem = std::variant<font, text, disabled, enabled, invisible, visible>;

struct e_create { std::int32_t creation_data = 0; };
struct e_destroy {};
struct e_getfocus {};
struct e_losefocus {};
struct e_size { int width = 0; int height = 0; };  // client size, 0..65535
struct e_move { int x = 0; int y = 0; };           // 0..65535
struct e_update { Rect rect; };
struct e_erasebackground {};
struct e_closerequest {};
struct e_mousedown { Point point; int shift = 0; int button = 0; };
struct e_mouseup { Point point; int shift = 0; int button = 0; };
struct e_mousedbl { Point point; int shift = 0; int button = 0; };
struct e_mousemove { Point point; int shift = 0; std::vector<int> buttons; };  // held, left first
struct e_char { int ch = 0; int shift = 0; };
struct e_keydown { int key = 0; int shift = 0; };
struct e_keyup { int key = 0; int shift = 0; };
struct e_vscroll { int code = 0; int pos = 0; };
struct e_hscroll { int code = 0; int pos = 0; };
struct e_menu { int tag = 0; int shift = 0; };
struct e_initmenu {};
struct e_control { int id = 0; int kind = 0; Window window = 0; ControlInfo info; };
struct e_timer { std::int32_t id = 0; };
struct e_ownermeasureitem { int ctl_kind = 0; int ctl_id = 0; int item_id = 0; std::int32_t item_data = 0; };
struct e_ownerdraw {
  int ctl_kind = 0; int ctl_id = 0; int item_id = 0; int action = 0;
  std::vector<int> states; Window window = 0; Rect rect; std::int32_t item_data = 0;
};
struct e_dde { std::int32_t data = 0; };
struct e_endsession { int abort_possible = 1; };
struct e_native { std::uint32_t msg = 0; std::uint32_t wparam = 0; std::int32_t lparam = 0; };
struct e_user { std::int32_t id = 0; std::int32_t data = 0; };
struct e_endapplication { std::int32_t app_id = 0; };
struct e_state { StateItem item; };
struct e_activate {};
struct e_deactivate {};
// Files were dropped on a window that accepts them (win_AcceptFiles), at `point` of its client
// area: their paths as in dropfiles.
struct e_dropfiles { Point point; std::vector<std::string> files; };

using Event = std::variant<
    e_create, e_destroy, e_getfocus, e_losefocus, e_size, e_move, e_update, e_erasebackground,
    e_closerequest, e_mousedown, e_mouseup, e_mousedbl, e_mousemove, e_char, e_keydown, e_keyup,
    e_vscroll, e_hscroll, e_menu, e_initmenu, e_control, e_timer, e_ownermeasureitem,
    e_ownerdraw, e_dde, e_endsession, e_native, e_user, e_endapplication, e_state, e_activate,
    e_deactivate, e_dropfiles>;

// The event's code, 1 (e_create) … 33 (e_dropfiles).
inline int event_code(const Event& ev) { return static_cast<int>(ev.index()) + 1; }

// An event handler: a value means handled with that result; std::nullopt means the handler
// fails, and the layer applies its default processing.
using EventHandler = std::optional<long> (*)(Window, const Event&);

// Key codes of e_keydown, e_keyup and of the extra e_char the layer sends for special keys.
// Any other key gives its virtual-key code (letters and digits as their upper-case character,
// Shift 16, Control 17, Alt 18, Return 13, Escape 27, Space 32, Tab 9, …).
enum KeyCode : int {
  k_Up = 301, k_Down = 302, k_Right = 303, k_Left = 304, k_PageUp = 305, k_PageDown = 306,
  k_Home = 307, k_End = 308, k_CtrlHome = 309, k_CtrlEnd = 310, k_Insert = 312,
  k_CtrlLeft = 313, k_CtrlRight = 314, k_Backspace = 315, k_Help = 316, k_Clear = 317,
  k_Delete = 127, k_F1 = 331, k_F15 = 345,
  k_Shift = 16, k_Control = 17, k_Alt = 18
};
