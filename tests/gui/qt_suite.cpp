// The shared base of the Qt Test suites (see qt_suite.h).
#include "qt_suite.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "layer_test_access.h"
#include "runtime/run.h"

void QtSuite::initMain() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The suites read the system's own texts: a locale that is not Russian whatever the
  // environment says (a suite of the Russian forms sets its locale after this).
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "C.UTF-8");
}

QtSuite::QtSuite(void (*register_parts)()) {
  // A window record used after it was freed stops the suite, in every build.
  layer_test::guard_freed_records(true);
  register_parts();
}

void QtSuite::init() {
  RUN_ResetParts();
  set_up();
}

void QtSuite::cleanup() {
  tear_down();
  // Widgets on their way out go first: a window the test closed is not left behind.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCOMPARE(layer_test::window_count(), std::size_t(0));
  // What is left is named, and then deleted, so that one leak fails one test.
  QStringList left;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    left << QStringLiteral("%1 \"%2\"%3").arg(w->metaObject()->className(), w->windowTitle(),
                                               w->isVisible() ? QString() : QStringLiteral(" (hidden)"));
    w->deleteLater();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("windows left: ") + left.join(QStringLiteral(", "))));
}
