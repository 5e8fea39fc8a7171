// The parent of standard dialogs and their modal run.
#include "internal/std_dialog_support.h"

#include <QApplication>
#include <QDialog>
#include <QShortcut>

#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/modal_box.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer/uix.h"
#include "runtime/run_error.h"

namespace gui_detail {

Window chosen_parent() {
  const Window task_window = uix_GetTaskWin();
  const WindowRecord* r = nullptr;
  for (QWidget* w = QApplication::focusWidget(); w && !r; w = w->parentWidget()) r = find_record(w);
  for (int guard = 0; r && guard < 10000; ++guard) {
    if (r->kind == wk_Task) break;
    if (r->kind == wk_TopLevel || r->kind == wk_ModalDialog || r->kind == wk_ModelessDialog) return r->handle;
    r = find_record(r->parent);
  }
  return task_window;
}

QWidget* owner_widget(Window parent) {
  const WindowRecord* r = find_record(parent);
  if (!r || r->dying) return nullptr;
  QWidget* w = outer_widget(*r);
  return w ? w->window() : nullptr;
}

void check_parent(Window parent) {
  if (parent != kScreenWindow) checked_record(parent);
}

namespace {

bool run_ending() {
  const TaskData* t = task();
  return t && t->pending_exit.has_value();
}

}  // namespace

bool run_modal(QDialog* d, Window owner) {
  if (run_ending()) return false;
  if (const HelpRequestHandler help = attributes().help_request_handler) {
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), d);
    QObject::connect(f1, &QShortcut::activated, d, [help] { run_trapped(help); });
  }
  return exec_box(d, owner) == QDialog::Accepted && !run_ending();
}

void refocus(Window parent) {
  if (QWidget* w = owner_widget(parent); w && w->isVisible()) w->activateWindow();
}

}  // namespace gui_detail
