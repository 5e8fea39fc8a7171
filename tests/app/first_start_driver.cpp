// A driver linked into the program itself (its own entry and goal) for the tests of a whole
// start: it answers the first-start question with the button named by FOLIARKH_DRIVER_ANSWER
// (when one shows), and once the task window runs it prints the number of records loaded and
// the working folder (with FOLIARKH_DRIVER_TEXTS set, also the titles of the menu bar and the
// name of the message file in use), then chooses "Выход". Any box it does not expect, or a start
// that never gets there, ends the process with a code of its own.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "core/catalogue_facts.h"
#include "layer/layer.h"
#include "process_driver.h"
#include "resources/ids.h"
#include "runtime/err_messages.h"

namespace {

bool g_leaving = false;

void poll() {
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
    const QString answer = qEnvironmentVariable("FOLIARKH_DRIVER_ANSWER");
    for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
      if (!answer.isEmpty() && b->text() == answer) {
        b->click();
        return;
      }
    std::fprintf(stderr, "unexpected box: %s\n", qPrintable(modal->windowTitle()));
    std::_Exit(4);
  }
  if (const Window task = uix_GetTaskWin(); task != 0 && !g_leaving) {
    g_leaving = true;
    std::printf("records=%zu folder=%s\n", static_cast<std::size_t>(база_лит.count()),
                qPrintable(QDir::currentPath()));
    if (qEnvironmentVariableIsSet("FOLIARKH_DRIVER_TEXTS")) {
      QStringList titles;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(w))
          for (const QAction* a : main->menuBar()->actions()) titles << a->text().remove('&');
      std::printf("menus=%s messages=%s\n", qPrintable(titles.join('|')),
                  qPrintable(QFileInfo(QString::fromStdString(ERR_MessageFilePath())).fileName()));
    }
    std::fflush(stdout);
    win_PostEvent(task, e_menu{cmd_Выход, 0});
  }
}

void start_driver() { app_test::start_process_driver(poll); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start_driver)
