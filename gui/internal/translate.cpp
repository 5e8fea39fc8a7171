// Keys, mouse, wheel, focus, size and move events turned into events of the domain.
#include "internal/translate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include "internal/cursor_state.h"
#include "internal/dispatch.h"
#include "internal/key_codes.h"
#include "internal/text.h"
#include "internal/window_record.h"

namespace gui_detail {

Point point_of(QPointF p) {
  const QPoint q = p.toPoint();
  return Point{static_cast<std::int16_t>(q.x()), static_cast<std::int16_t>(q.y())};
}

int button_of(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return mb_Left;
    case Qt::RightButton: return mb_Right;
    case Qt::MiddleButton: return mb_Middle;
    default: return -1;
  }
}

bool on_key_press(Window win, const QKeyEvent* ev) {
  const int shift = shift_state_of(ev->modifiers());
  const int code = key_code_of(ev);
  bool handled = false;
  if (code != 0) handled = deliver(win, e_keydown{code, shift}).handled;
  if (code != 0 && is_special_key(code)) {
    deliver(win, e_char{code, shift});
  } else {
    for (const QChar ch : ev->text()) {
      const std::string b = from_qt(QString(ch));
      if (b.size() == 1 && find_record(win)) deliver(win, e_char{static_cast<unsigned char>(b[0]), shift});
    }
  }
  return handled;
}

bool on_key_release(Window win, const QKeyEvent* ev) {
  if (ev->isAutoRepeat()) return true;  // a held key repeats key-downs only
  const int code = key_code_of(ev);
  if (code == 0) return false;
  return deliver(win, e_keyup{code, shift_state_of(ev->modifiers())}).handled;
}

bool on_mouse_press(Window win, QWidget* focus_target, const QMouseEvent* ev) {
  if (focus_target && focus_target->focusPolicy() != Qt::NoFocus && !focus_target->hasFocus())
    focus_target->setFocus(Qt::MouseFocusReason);
  const int b = button_of(ev->button());
  if (b < 0 || !find_record(win)) return false;
  return deliver(win, e_mousedown{point_of(ev->position()), shift_state_of(ev->modifiers()), b}).handled;
}

bool on_mouse_release(Window win, const QMouseEvent* ev) {
  const int b = button_of(ev->button());
  if (b < 0) return false;
  return deliver(win, e_mouseup{point_of(ev->position()), shift_state_of(ev->modifiers()), b}).handled;
}

bool on_mouse_double(Window win, const QMouseEvent* ev) {
  const int b = button_of(ev->button());
  if (b < 0) return false;
  return deliver(win, e_mousedbl{point_of(ev->position()), shift_state_of(ev->modifiers()), b}).handled;
}

void on_mouse_move(Window win, const QMouseEvent* ev) {
  cursor_mouse_moved();
  std::vector<int> held;
  if (ev->buttons() & Qt::LeftButton) held.push_back(mb_Left);
  if (ev->buttons() & Qt::RightButton) held.push_back(mb_Right);
  if (ev->buttons() & Qt::MiddleButton) held.push_back(mb_Middle);
  deliver(win, e_mousemove{point_of(ev->position()), shift_state_of(ev->modifiers()), std::move(held)});
}

void on_wheel(Window win, const QWheelEvent* ev, int& rest) {
  rest += ev->angleDelta().y();
  const int lines = std::max(0, QApplication::wheelScrollLines());
  while (rest >= 120 || rest <= -120) {
    const int code = rest > 0 ? sc_LineUp : sc_LineDown;
    rest += rest > 0 ? -120 : 120;
    for (int i = 0; i < lines && find_record(win); ++i) deliver(win, e_vscroll{code, 0});
  }
}

void on_focus(Window win, bool gained) {
  if (gained)
    deliver(win, e_getfocus{});
  else
    deliver(win, e_losefocus{});
}

void on_size(Window win, QSize s) { deliver(win, e_size{s.width() & 0xFFFF, s.height() & 0xFFFF}); }

void on_move(Window win, QPoint p) { deliver(win, e_move{p.x() & 0xFFFF, p.y() & 0xFFFF}); }

}  // namespace gui_detail
