// The base of every Qt Test suite (the layer's, the editor's, the packages' and the program's):
// the headless platform, the process state put back to its start before each test (one call,
// RUN_ResetParts), and after each test the check that no window is left, neither in the layer's
// window table nor among the toolkit's top-level widgets.
#pragma once

#include <QObject>

class QtSuite : public QObject {
  Q_OBJECT

 public:
  // Before the application is made (QTEST_MAIN calls it): the offscreen platform, so that a bare
  // run of the suite works as under CTest, and a locale that is not Russian (LANG=C.UTF-8, no
  // LC_ALL or LC_MESSAGES), so that the system's texts stand as written.
  static void initMain();

 protected:
  // `register_parts` registers the parts of the library the suite tests, and with them those of
  // the libraries under it (uix_RegisterPart, packages_RegisterPart,
  // зарегистрировать_состояние_программы).
  explicit QtSuite(void (*register_parts)());
  // The suite's own set-up after the reset, and its own checks before the window check.
  virtual void set_up() {}
  virtual void tear_down() {}

 private slots:
  void init();
  void cleanup();
};
