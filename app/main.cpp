// The process entry of foliarkh: the command line is answered or noted, then control goes to the
// runtime. Without a display the program says so in the words of its command line and ends.
#include <cstdio>

#include "app/command_line.h"
#include "layer/uix.h"
#include "runtime/run.h"

int main(int argc, char** argv) {
  if (const auto код = принять_командную_строку(argc, argv)) return *код;
  if (!uix_CanShowWindows()) {
    std::fputs("foliarkh: нет экрана, на котором показать окна программы: не задана ни переменная DISPLAY, "
               "ни WAYLAND_DISPLAY.\nЗапустите программу в графическом сеансе.\n",
               stderr);
    return 1;
  }
  return QbxKernogStart(argc, argv);
}
