// The mouse cursor: per-window stock cursors, the wait cursor and the hidden cursor. Invariant:
// at most one override cursor of the layer is active (wait or hidden) at a time.
#include "layer/cursor.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "internal/cursor_state.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

enum class Override { none, wait, hidden };
Override g_override = Override::none;
QPointer<QWidget> g_grabber;

// Ends the layer's override cursor at the next mouse move anywhere in the program.
class MoveWatcher : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::MouseMove) cursor_mouse_moved();
    return false;
  }
};

MoveWatcher* watcher() {
  static QPointer<MoveWatcher> w;
  if (!w) {
    w = new MoveWatcher;
    w->setParent(QCoreApplication::instance());
  }
  return w;
}

void begin_override(Override kind, Qt::CursorShape shape) {
  if (!qApp) return;
  if (g_override != Override::none)
    QGuiApplication::changeOverrideCursor(QCursor(shape));
  else
    QGuiApplication::setOverrideCursor(QCursor(shape));
  g_override = kind;
  qApp->installEventFilter(watcher());
}

}  // namespace

namespace gui_detail {

Qt::CursorShape cursor_shape_of(int n) {
  switch (n) {
    case cursor_Cross: return Qt::CrossCursor;
    case cursor_Ibeam: return Qt::IBeamCursor;
    case cursor_Size: return Qt::SizeAllCursor;
    case cursor_SizeNESW: return Qt::SizeBDiagCursor;
    case cursor_SizeNS: return Qt::SizeVerCursor;
    case cursor_SizeNWSE: return Qt::SizeFDiagCursor;
    case cursor_SizeWE: return Qt::SizeHorCursor;
    case cursor_UpArrow: return Qt::UpArrowCursor;
    case cursor_Wait: return Qt::WaitCursor;
    default: return Qt::ArrowCursor;  // 1, 4 (the icon cursor) and other numbers
  }
}

void cursor_mouse_moved() {
  if (g_override == Override::none) return;
  g_override = Override::none;
  if (qApp) {
    QGuiApplication::restoreOverrideCursor();
    qApp->removeEventFilter(watcher());
  }
  if (g_grabber) g_grabber->releaseMouse();
  g_grabber = nullptr;
}

}  // namespace gui_detail

void cursor_Set(Window win, int cursor_no) {
  WindowRecord& r = checked_record(win);
  if (cursor_no >= 12) RUN_Error(errcode::kNoCursorResource);  // the program has no cursor resources
  r.cursor = cursor_no;
  if (r.client) r.client->setCursor(cursor_shape_of(cursor_no));
}

int cursor_Get(Window win) { return checked_record(win).cursor; }

void cursor_SetWait() { begin_override(Override::wait, Qt::WaitCursor); }

void cursor_Hide() {
  begin_override(Override::hidden, Qt::BlankCursor);
  if (QWidget* active = QApplication::activeWindow()) {
    g_grabber = active;
    active->grabMouse();
  }
}

Point cursor_GetPos() {
  const QPoint p = QCursor::pos();
  return Point{p.x(), p.y()};
}
