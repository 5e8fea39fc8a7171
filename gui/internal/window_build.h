// The one way the layer makes its framed windows: the task window (uix_Init), top-level and
// child windows (win_Create) and windows around a client widget made outside the layer (the
// text editor). Dialogs are made by internal/dialog_build.h, controls by internal/control_create.h.
//
// A window is made in these steps, in this order:
//   1. the record (start_window, build_menu, own_client): kind, parent, handlers, creation
//      data, the style from the flags, the window's own menu;
//   2. the frame (own_frame + show_menu_bar, mdi_frame, child_client): the widgets around the
//      client, the title, the menu bar;
//   3. menu routing (join_table): the window joins the window table; its menu commands and menu
//      initialisation go to the window itself, or, for an MDI child, to the task window;
//   4. placing, then the finish (finish_window, show_first): e_create, the first showing, and
//      for a visible MDI child its activation, the keyboard focus and its menu in the task
//      window's bar.
// Steps 1 and 2 run no handler. From step 3 on, toolkit calls and deliveries can run handlers,
// which may destroy the window: each later step looks the window up again (live_record) and
// stops once it is gone.
#pragma once

#include <Qt>
#include <cstdint>
#include <memory>
#include <string>

#include "internal/window_record.h"

class QWidget;

namespace gui_detail {

class LayerClient;
class LayerFrame;
class MenuModel;
struct TaskData;

// How a window is shown the first time (kept apart from its style, which never says maximized or
// minimized).
struct FirstShowing {
  bool maximized = false, minimized = false;
  bool mdi_child = false;
};

// A window on its way through the steps.
struct WindowBuild {
  std::unique_ptr<WindowRecord> rec;  // until the window joins the table
  FirstShowing showing;
  Window menu_owner = 0;  // where the menu's commands go; 0: the window itself
};

// --- The whole path for top-level (kind 1) and child (kind 2) windows ---

// win_Create: the window with a client area of the layer's own. Run-time error 6001 for another
// kind or a parent that cannot hold it, 6306 without an application.
Window create_window(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                     const WinFlags& flags, EventHandler handler, std::int32_t creation_data);
// Like create_window (the same checks and run-time errors), with `client`, made outside the
// layer, as the client area; the window owns the widget from here on (also when a check fails).
// `second_handler` is tried before `handler` (it may be nullptr).
Window create_window_with_client(QWidget* client, int kind, Rect rect, const std::string& title,
                                 const Menu& menu, Window parent, const WinFlags& flags,
                                 EventHandler handler, EventHandler second_handler,
                                 std::int32_t creation_data);

// --- The steps (uix_Init takes them one by one: the task window is placed and shown its own way) ---

// 1. The record.
WindowBuild start_window(int kind, Window parent, const WinFlags& flags, EventHandler handler,
                         EventHandler second_handler = nullptr, std::int32_t creation_data = 0);
// The window's own menu: none for no_menu; run-time error 6053 or 6004 (see MenuModel::build).
void build_menu(WindowBuild& b, const Menu& menu);
// A client area of the layer's own inside `parent` (nullptr: for a frame to take), drawn on
// through the record's surface.
LayerClient* own_client(WindowBuild& b, QWidget* parent = nullptr);

// 2. The frame.
// A frame of its own (owned by `owner`, nullptr on the screen) around `client`, its menu bar
// made ready but not yet filled (show_menu_bar).
LayerFrame* own_frame(WindowBuild& b, QWidget* owner, QWidget* client, const std::string& title);
// The frame's bar shows the window's menu, or is hidden when the window has none.
void show_menu_bar(const MenuModel* menu, LayerFrame* frame);
// A hidden MDI sub-window of the task's MDI client around `client`; its menu gets the shared
// window list and routes to the task window.
void mdi_frame(WindowBuild& b, TaskData& t, QWidget* client, const std::string& title);
// A child window's client (already inside the parent's client): its title, and the control id
// carried by a res_menu.
void child_client(WindowBuild& b, QWidget* client, const std::string& title, const Menu& menu);

// 3. Menu routing: the window joins the window table (its handle is assigned here).
WindowRecord& join_table(WindowBuild& b);

// 4. The finish: e_create reaches the window, then show_first.
void finish_window(Window win, std::int32_t creation_data, const FirstShowing& showing);
// The first showing as the window's style and `showing` ask (visible, disabled, maximized,
// minimized); a visible MDI child is then activated, takes the keyboard focus and puts its menu
// in the task window's bar. Nothing once the window is gone.
void show_first(Window win, const FirstShowing& showing);

}  // namespace gui_detail
