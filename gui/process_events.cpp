// uix_ProcessEvents: pending events run from inside a handler.
#include <QApplication>
#include <QEvent>

#include "internal/window_record.h"
#include "layer/drawing.h"

using namespace gui_detail;

namespace {

// Pending events do not run inside a background erase or a hooked event's delivery.
bool delivery_in_progress() {
  for (const WindowRecord* r : all_records())
    if (r->erasing || r->hook_delivering) return true;
  return false;
}

bool is_input(QEvent::Type t) {
  switch (t) {
    case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::ShortcutOverride:
    case QEvent::Shortcut: case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: case QEvent::MouseMove: case QEvent::Wheel:
    case QEvent::ContextMenu: case QEvent::TouchBegin: case QEvent::TouchUpdate:
    case QEvent::TouchEnd: case QEvent::TabletPress: case QEvent::TabletRelease:
    case QEvent::TabletMove: case QEvent::InputMethod:
      return true;
    default:
      return false;
  }
}

// Drops the input that arrives while it is installed.
class InputDropper : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* ev) override { return is_input(ev->type()); }
};

}  // namespace

void uix_ProcessEvents() {
  if (delivery_in_progress()) return;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void uix_ProcessEvents(int flag) {
  if (flag != 0) {
    uix_ProcessEvents();
    return;
  }
  if (delivery_in_progress()) return;
  InputDropper dropper;
  QCoreApplication::instance()->installEventFilter(&dropper);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::instance()->removeEventFilter(&dropper);
}
