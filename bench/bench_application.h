// The toolkit for the layer's benchmarks: made once on the offscreen platform unless another one
// is named, and kept to the end of the process.
#pragma once

#include <QApplication>

inline void ensure_application() {
  if (QApplication::instance()) return;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "foliarkh_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}
