// Helpers for the layer's tests: a run of the layer with a recording task handler on the tests'
// own resources, waiting for conditions, and driving the next modal dialog from the test.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "layer/layer.h"
#include "layer/layer_part.h"
#include "qt_suite.h"
#include "layer_fixture_resources.h"
#include "runtime/codepage.h"

namespace layer_test {

// A UTF-8 text of the test as the program's cp1251 string.
inline std::string cp(const char* utf8) { return cp1251::from_utf8(utf8); }

struct Recorded {
  Window win;
  Event ev;
};

// Every event that reached recording_handler, in order.
inline std::vector<Recorded>& log() {
  static std::vector<Recorded> l;
  return l;
}
// What recording_handler answers (after recording); nullptr: it fails.
inline std::function<std::optional<long>(Window, const Event&)>& behaviour() {
  static std::function<std::optional<long>(Window, const Event&)> b;
  return b;
}
inline std::optional<long> recording_handler(Window w, const Event& ev) {
  log().push_back({w, ev});
  if (behaviour()) return behaviour()(w, ev);
  return std::nullopt;
}

template <class E>
std::vector<E> events_of(Window w) {
  std::vector<E> out;
  for (const Recorded& r : log())
    if (r.win == w)
      if (const E* e = std::get_if<E>(&r.ev)) out.push_back(*e);
  return out;
}

// The layer suites' own set-up, after the reset of the process state (QtSuite): nothing recorded,
// the recording handler failing, and MDI mode on.
inline void reset() {
  log().clear();
  behaviour() = nullptr;
  uix_SetAttrVal(xQbx_bMDI, 1);
}

// Runs `body` once the message loop of a fresh uix_Init runs (task handler: recording_handler),
// then destroys the task window if the body left it. Returns when uix_Init has returned. The
// resources are registered first, as a program does.
inline void run_in_task(const std::function<void(Window task)>& body, const Menu& menu = res_menu{fixture::menu_task},
                        const ResourceTables& resources = fixture::tables()) {
  uix_SetResources(resources);
  QTimer start;  // dies with this call, so a run that failed to start leaves nothing behind
  start.setSingleShot(true);
  QObject::connect(&start, &QTimer::timeout, [body] {
    const Window task = uix_GetTaskWin();
    if (!QApplication::activeWindow())
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QMainWindow")) {
          w->activateWindow();
          (void)QTest::qWaitForWindowActive(w);
          break;
        }
    try {
      body(task);
    } catch (const std::exception& e) {
      QTest::qFail(e.what(), __FILE__, __LINE__);
    }
    if (win_GetType(task) == wk_Task) win_Destroy(task);
  });
  start.start(0);
  uix_Init({wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize, wsf_ClipSiblings},
           recording_handler, menu, "test", "Test");
}

// Processes events until `pred` holds or `ms` pass.
inline bool wait_until(const std::function<bool()>& pred, int ms = 3000) { return QTest::qWaitFor(pred, ms); }

// Runs `drive` on the next modal widget that shows (it must close it).
inline void on_next_modal(std::function<void(QWidget*)> drive) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, drive] {
    QWidget* m = QApplication::activeModalWidget();
    if (!m || !m->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    drive(m);
  });
  poll->start(20);
}

}  // namespace layer_test
