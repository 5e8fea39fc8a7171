// Helpers of the program's scenario tests: a window's Qt widget and back, through the layer's
// test interface, and what the help line shows as the mouse passes along the toolbars.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

#include "app_test_support.h"
#include "layer/layer.h"
#include "layer_test_access.h"
#include "packages/toolbar.h"
#include "resources/ids.h"

namespace app_test {

using layer_test::client_of;
using layer_test::frame_of;
using layer_test::window_of;

// The help-line texts a window shows as the mouse passes along its toolbars (the task window, or
// a list window, which has a help line of its own).
inline QStringList help_line_texts(Window window) {
  QStringList seen;
  for (Window tb : win_GetChildWindows(window)) {
    if (!toolbar_IsToolbar(tb)) continue;
    QWidget* w = client_of(tb);
    for (int x = 0; x < w->width(); x += 3) {
      const QPoint at(x, w->height() / 2);
      QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(w, &move);
      const auto v = toolbar_GetValue(window, id_строкиподсказки);
      if (v && std::holds_alternative<text_value>(*v)) {
        const QString text = qs(std::get<text_value>(*v).text);
        if (!text.isEmpty() && !seen.contains(text)) seen << text;
      }
    }
  }
  return seen;
}

// What the window's help line shows now (empty when it has none).
inline QString help_line(Window window) {
  const auto v = toolbar_GetValue(window, id_строкиподсказки);
  return v && std::holds_alternative<text_value>(*v) ? qs(std::get<text_value>(*v).text) : QString();
}

// Presses the button `id` of a dialog, as a click does.
inline void press(Window dlg, int id) {
  qobject_cast<QAbstractButton*>(layer_test::client_of(win_GetCtlHandle(dlg, id)))->click();
}

// Opens the data-entry dialog (entry mode) and runs `drive` in it; `drive` leaves it open, the
// dialog is then cancelled.
inline void in_entry(Window task, const std::function<void(Window)>& drive) {
  on_next_modal([drive](QWidget* d) {
    const Window dlg = window_of(d);
    drive(dlg);
    if (win_GetType(dlg) != wk_NotAWindow) press(dlg, кнопка_Cancel);
  });
  command(task, cmd_ВводДанных);
}

}  // namespace app_test
