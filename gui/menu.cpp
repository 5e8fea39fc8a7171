// menu_Enable, menu_Check and menu_Update on a window's own menu.
#include "layer/menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "internal/menu_model.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

MenuModel& gui_detail::menu_of(Window win, SrcLoc loc) {
  WindowRecord& r = checked_record(win, loc);
  if (r.kind != wk_Task && r.kind != wk_TopLevel && r.kind != wk_ModalDialog && r.kind != wk_ModelessDialog)
    RUN_Error(errcode::kWrongKind, loc);
  if (!r.menu) RUN_Error(errcode::kNoMenu, loc);
  return *r.menu;
}

void menu_Enable(Window win, int tag, bool enable) {
  for (QAction* a : menu_of(win).find(tag)) a->setEnabled(enable);
}

void menu_Enable(Window win, const std::string& item_text, bool enable) {
  QAction* a = menu_of(win).find_text(item_text);
  if (!a) RUN_Error(errcode::kMenuItemNotFound);
  a->setEnabled(enable);
}

void menu_Check(Window win, int tag, bool check) {
  for (QAction* a : menu_of(win).find(tag)) {
    a->setCheckable(true);
    a->setChecked(check);
  }
}

void menu_Update(Window win) {
  const WindowRecord& r = checked_record(win);
  QMainWindow* frame = qobject_cast<QMainWindow*>(r.frame.data());
  if (!frame && qobject_cast<QMdiSubWindow*>(r.frame.data()))
    if (const TaskData* t = task())
      if (const WindowRecord* tr = find_record(t->task_window)) frame = qobject_cast<QMainWindow*>(tr->frame.data());
  if (frame) frame->menuBar()->update();
}
