// Minimised and maximised states from the window's outer widget; running pending events.
#include "layer/show_state.h"

#include <QCoreApplication>
#include <QWidget>

#include "internal/geometry.h"
#include "internal/window_record.h"

using namespace gui_detail;

namespace {

Qt::WindowStates states_of(Window win) {
  if (win == kScreenWindow) return Qt::WindowNoState;
  const QWidget* outer = outer_widget(checked_record(win));
  return outer ? outer->windowState() : Qt::WindowNoState;
}

}  // namespace

bool win_IsMinimized(Window win) { return states_of(win).testFlag(Qt::WindowMinimized); }
bool win_IsMaximized(Window win) { return states_of(win).testFlag(Qt::WindowMaximized); }

void uix_ProcessPending() {
  for (const WindowRecord* r : all_records())
    if (r->erasing) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
