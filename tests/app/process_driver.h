// The start of a driver linked into the program itself: `poll` runs every 50 ms in the program's
// own loop, and a program that has not ended after a minute ends with code 5.
#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace app_test {

inline void start_process_driver(void (*poll)()) {
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, timer, poll);
  timer->start(50);
  QTimer::singleShot(60000, QCoreApplication::instance(), [] {
    std::fprintf(stderr, "the program did not end\n");
    std::_Exit(5);
  });
}

}  // namespace app_test
