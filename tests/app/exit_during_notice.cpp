// A driver linked into the program itself (its own entry and goal) for the test of leaving the
// program while a modal box is open: it enters a record, and while the notice about the file that
// was kept is open it chooses "Файл" / "Выход" behind the box, as assistive technology can. The
// program must then end by itself with exit code 0.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/data_entry.h"
#include "app/task_window.h"
#include "layer_test_access.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "process_driver.h"

namespace {

QString utf8(const char* s) { return QString::fromUtf8(s); }

// The menu item of the task window whose text (without "&") is `text`.
QAction* menu_item(const QString& text) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* frame = qobject_cast<QMainWindow*>(w))
      for (QAction* top : frame->menuBar()->actions())
        if (top->menu())
          for (QAction* a : top->menu()->actions())
            if (a->text().remove('&') == text) return a;
  return nullptr;
}

Window modal_layer_dialog() {
  const Window w = layer_test::window_of(QApplication::activeModalWidget());
  return w && win_GetType(w) == wk_ModalDialog ? w : 0;
}

enum class Step { start, entry, notice, leaving };
Step g_step = Step::start;
int g_open_polls = 0;

void poll() {
  QWidget* modal = QApplication::activeModalWidget();
  auto* box = qobject_cast<QMessageBox*>(modal);
  switch (g_step) {
    case Step::start:
      // The cut catalogue line is reported at the start: the user answers the error box.
      if (box) {
        box->defaultButton()->click();
      } else if (!modal && uix_GetTaskWin() != 0) {
        g_step = Step::entry;
        win_PostEvent(uix_GetTaskWin(), e_menu{cmd_ВводДанных, 0});
      }
      break;
    case Step::entry:
      if (const Window dlg = modal_layer_dialog()) {
        g_step = Step::notice;
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp1251::from_utf8("Толстой"));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp1251::from_utf8("Война и мир"));
        auto* ok = qobject_cast<QAbstractButton*>(layer_test::client_of(win_GetCtlHandle(dlg, 1)));
        QTimer::singleShot(0, ok, &QAbstractButton::click);
      }
      break;
    case Step::notice:
      if (box && box->text().contains(utf8("не был загружен полностью"))) {
        g_step = Step::leaving;
        QAction* exit_item = menu_item(utf8("Выход"));
        if (!exit_item) {
          std::fprintf(stderr, "no menu item Выход\n");
          std::_Exit(3);
        }
        exit_item->trigger();
      }
      break;
    case Step::leaving:
      // Nothing may stay open once the program is leaving.
      g_open_polls = modal ? g_open_polls + 1 : 0;
      if (g_open_polls == 40) {
        std::fprintf(stderr, "a box stayed open: %s\n", qPrintable(modal->windowTitle()));
        std::_Exit(4);
      }
      break;
  }
}

void start_driver() { app_test::start_process_driver(poll); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start_driver)
