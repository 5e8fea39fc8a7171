// White-box helpers of the program's scenario tests: a window's Qt widget and back, through the
// layer's window records, and the list window with its list box and a line selected in it.
#pragma once

#include <QTest>
#include <QWidget>

#include "app/list_window.h"
#include "internal/window_record.h"
#include "layer/layer.h"
#include "resources/ids.h"

namespace app_test {

inline QWidget* client_of(Window w) { return gui_detail::find_record(w)->client; }
inline Window window_of(QWidget* w) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(w);
  return r ? r->handle : 0;
}

// The list window opened last (the task's children come in creation order).
inline Window newest_list_window(Window task) {
  Window newest = 0;
  for (Window w : win_GetChildWindows(task))
    if (win_GetType(w) == wk_TopLevel && win_GetHandler(w) == win_просмотрсписка_eh) newest = w;
  return newest;
}
inline Window list_box(Window lw) { return win_GetCtlHandle(lw, ид_списка); }

// Selects the line that starts with the code, as a click would (the selection is reported).
inline void select_code(Window lw, int code) {
  const Window lb = list_box(lw);
  for (int i = 0; i < lbox_CountAll(lb); ++i)
    if (код_строки(lbox_GetItem(lb, i)) == code) {
      lbox_SetSel(lb, i, 1);
      win_SendEvent(lw, e_control{ид_списка, wk_ListBox, lb, selchanged{}});
      return;
    }
  QFAIL("no such line");
}

}  // namespace app_test
