// The task window: its handler and its commands.
#include "task_window.h"

namespace {
constexpr int kCmdExit = 10033;
}

std::optional<long> task_win_eh(Window win, const Event& ev) {
  if (const auto* m = std::get_if<e_menu>(&ev)) {
    if (m->tag == kCmdExit) {
      win_Destroy(win);
      return 0;
    }
  }
  return std::nullopt;
}
