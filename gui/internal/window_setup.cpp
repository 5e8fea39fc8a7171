// Window flags and the first showing of a window.
#include "internal/window_setup.h"

#include <QWidget>

#include "internal/geometry.h"

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

void show_new_window(WindowRecord& r, bool maximized, bool minimized) {
  QWidget* outer = outer_widget(r);
  if (!outer) return;
  if (r.style.disabled) outer->setEnabled(false);
  if (maximized) {
    outer->showMaximized();
    if (!r.style.visible) outer->hide();
  } else if (minimized) {
    if (r.style.visible)
      outer->showMinimized();
    else
      outer->setWindowState(outer->windowState() | Qt::WindowMinimized);
  } else if (r.style.visible) {
    outer->show();
  }
}

}  // namespace gui_detail
