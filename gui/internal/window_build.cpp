// Making framed windows: the record, the frame, menu routing and the finish, and the whole path
// of win_Create and of windows around a client made outside the layer.
#include "internal/window_build.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/lifecycle.h"
#include "internal/menu_model.h"
#include "internal/qt_window.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

// Flags for a frame (a top-level frame, or an MDI sub-window when `sub_window`).
Qt::WindowFlags frame_window_flags(const WindowStyle& s, bool sub_window = false) {
  Qt::WindowFlags f = sub_window ? Qt::SubWindow : Qt::Window;
  if (!s.title_bar) {
    f |= Qt::FramelessWindowHint;
  } else {
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (s.close_box) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (s.max_box) f |= Qt::WindowMaximizeButtonHint;
    if (s.min_box) f |= Qt::WindowMinimizeButtonHint;
  }
  if (s.topmost) f |= Qt::WindowStaysOnTopHint;
  return f;
}

// The first showing of a window as its style and flags ask (visible, disabled, maximized,
// minimized); nothing once the window is gone.
void show_new_window(Window win, bool maximized, bool minimized) {
  const WindowRecord* r = live_record(win);
  QWidget* outer = r ? outer_widget(*r) : nullptr;
  if (!outer) return;
  if (r->style.disabled) outer->setEnabled(false);
  if (maximized) {
    outer->showMaximized();
    r = live_record(win);
    if (r && !r->style.visible) outer->hide();
  } else if (minimized) {
    if (r->style.visible)
      outer->showMinimized();
    else
      outer->setWindowState(outer->windowState() | Qt::WindowMinimized);
  } else if (r->style.visible) {
    outer->show();
  }
}

// A top-level or child window, all four steps. `outside` is the client made outside the layer
// (with `from_outside`), owned here until a frame or the parent takes it; without
// `from_outside` the window gets a client area of the layer's own.
Window make_window(std::unique_ptr<QWidget> outside, bool from_outside, int kind, Rect rect,
                   const std::string& title, const Menu& menu, Window parent, const WinFlags& flags,
                   EventHandler handler, EventHandler second_handler, std::int32_t creation_data) {
  if (kind != wk_TopLevel && kind != wk_Child) RUN_Error(errcode::kWrongKind);
  const bool on_screen = parent == kScreenWindow;
  WindowRecord* pr = on_screen ? nullptr : &checked_record(parent);
  if (!QApplication::instance() || (from_outside && !outside)) RUN_Error(errcode::kWindowNotCreated);
  TaskData* t = task();

  WindowBuild b = start_window(kind, parent, flags, handler, second_handler, creation_data);
  if (kind == wk_TopLevel) {
    if (!on_screen && pr->kind != wk_Task) RUN_Error(errcode::kWrongKind);
    build_menu(b, menu);
    QWidget* client = from_outside ? outside.release() : own_client(b);
    if (!on_screen && t && t->mdi_client) {
      mdi_frame(b, *t, client, title);
    } else {
      LayerFrame* frame = own_frame(b, on_screen ? nullptr : outer_widget(*pr), client, title);
      show_menu_bar(b.rec->menu.get(), frame);
    }
  } else {
    if (on_screen || !pr->client) RUN_Error(errcode::kWrongKind);
    QWidget* client = nullptr;
    if (from_outside) {
      outside->setParent(pr->client);
      client = outside.release();
    } else {
      client = own_client(b, pr->client);
    }
    child_client(b, client, title, menu);
  }

  WindowRecord& r = join_table(b);
  const Window h = r.handle;
  set_client_geometry(r, to_qrect(rect));
  if (const WindowRecord* again = live_record(h); again && kind == wk_Child) again->client->raise();

  finish_window(h, creation_data, b.showing);
  return h;
}

}  // namespace

Window create_window(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                     const WinFlags& flags, EventHandler handler, std::int32_t creation_data) {
  return make_window(nullptr, false, kind, rect, title, menu, parent, flags, handler, nullptr, creation_data);
}

Window create_window_with_client(QWidget* client, int kind, Rect rect, const std::string& title,
                                 const Menu& menu, Window parent, const WinFlags& flags,
                                 EventHandler handler, EventHandler second_handler,
                                 std::int32_t creation_data) {
  return make_window(std::unique_ptr<QWidget>(client), true, kind, rect, title, menu, parent, flags, handler,
                     second_handler, creation_data);
}

WindowBuild start_window(int kind, Window parent, const WinFlags& flags, EventHandler handler,
                         EventHandler second_handler, std::int32_t creation_data) {
  WindowBuild b;
  WindowStyle style = style_from_flags(flags);
  b.showing.maximized = style.maximized;
  b.showing.minimized = style.minimized;
  style.maximized = style.minimized = false;

  b.rec = std::make_unique<WindowRecord>();
  b.rec->kind = kind;
  b.rec->parent = parent;
  b.rec->handler = handler;
  b.rec->second_handler = second_handler;
  b.rec->creation_data = creation_data;
  b.rec->style = style;
  return b;
}

void build_menu(WindowBuild& b, const Menu& menu) { b.rec->menu.reset(MenuModel::build(menu).release()); }

LayerClient* own_client(WindowBuild& b, QWidget* parent) {
  auto* client = new LayerClient(parent);
  b.rec->surface = &client->surface();
  return client;
}

LayerFrame* own_frame(WindowBuild& b, QWidget* owner, QWidget* client, const std::string& title) {
  auto* frame = new LayerFrame(owner, frame_window_flags(b.rec->style));
  prepare_menu_bar(frame->menuBar());
  frame->setCentralWidget(client);
  frame->setWindowTitle(system_text(title));
  b.rec->client = client;
  b.rec->frame = frame;
  return frame;
}

void show_menu_bar(const MenuModel* menu, LayerFrame* frame) {
  if (menu)
    menu->show_in(frame->menuBar());
  else
    frame->menuBar()->hide();
}

void mdi_frame(WindowBuild& b, TaskData& t, QWidget* client, const std::string& title) {
  auto* sub = new LayerMdiChild;
  sub->setWidget(client);
  sub->setWindowFlags(frame_window_flags(b.rec->style, true));
  sub->setWindowTitle(system_text(title));
  if (b.rec->menu && t.window_list) b.rec->menu->add_window_list(t.window_list);
  b.rec->client = client;
  b.rec->frame = sub;
  t.mdi_client->addSubWindow(sub);
  sub->hide();
  b.showing.mdi_child = true;
  b.menu_owner = t.task_window;
}

void child_client(WindowBuild& b, QWidget* client, const std::string& title, const Menu& menu) {
  client->setWindowTitle(system_text(title));
  b.rec->client = client;
  if (const auto* m = std::get_if<res_menu>(&menu)) b.rec->control_id = m->id & 0xFFFF;
}

WindowRecord& join_table(WindowBuild& b) {
  WindowRecord& r = register_window(std::move(b.rec));
  if (r.menu) {
    const Window route_to = b.menu_owner ? b.menu_owner : r.handle;
    r.menu->on_command = [route_to](int tag) { run_trapped([&] { route_command(route_to, tag); }); };
    r.menu->on_init = [route_to] { run_trapped([&] { route_initmenu(route_to); }); };
  }
  return r;
}

void finish_window(Window win, std::int32_t creation_data, const FirstShowing& showing) {
  deliver(win, e_create{creation_data});
  show_first(win, showing);
}

void show_first(Window win, const FirstShowing& s) {
  show_new_window(win, s.maximized, s.minimized);
  const WindowRecord* r = live_record(win);
  TaskData* t = task();
  if (!s.mdi_child || !r || !r->style.visible || !t || !t->mdi_client) return;
  t->mdi_client->setActiveSubWindow(static_cast<QMdiSubWindow*>(r->frame.data()));
  r = live_record(win);
  if (r && r->client) r->client->setFocus(Qt::OtherFocusReason);
  refresh_task_menu_bar();
}

}  // namespace gui_detail
