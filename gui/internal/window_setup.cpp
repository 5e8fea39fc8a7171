// Window flags and the first showing of a window.
#include "internal/window_setup.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include "internal/geometry.h"
#include "internal/lifecycle.h"
#include "internal/task_data.h"

namespace gui_detail {

Qt::WindowFlags frame_window_flags(const WindowStyle& s, bool sub_window) {
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

void show_created_window(Window win, bool maximized, bool minimized, bool mdi_child) {
  show_new_window(win, maximized, minimized);
  const WindowRecord* r = live_record(win);
  TaskData* t = task();
  if (!mdi_child || !r || !r->style.visible || !t || !t->mdi_client) return;
  t->mdi_client->setActiveSubWindow(static_cast<QMdiSubWindow*>(r->frame.data()));
  r = live_record(win);
  if (r && r->client) r->client->setFocus(Qt::OtherFocusReason);
  refresh_task_menu_bar();
}

}  // namespace gui_detail
