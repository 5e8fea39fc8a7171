// Translation of toolkit input events into the event domain, shared by every widget class of
// the layer (windows now; dialogs and subclassed controls use the same calls). The bool results
// say whether the handler succeeded, so that the caller can skip the toolkit's default where the
// translation table says so.
#pragma once

#include <QPoint>
#include <QSize>

#include "layer/types.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace gui_detail {

// e_keydown(code, shift); then e_char(code, shift) for a special key, or e_char for each
// character the key typed.
bool on_key_press(Window win, const QKeyEvent* ev);
bool on_key_release(Window win, const QKeyEvent* ev);
// `focus_target` takes the focus first, then e_mousedown.
bool on_mouse_press(Window win, QWidget* focus_target, const QMouseEvent* ev);
bool on_mouse_release(Window win, const QMouseEvent* ev);
bool on_mouse_double(Window win, const QMouseEvent* ev);
// Shows a cursor hidden by the layer again, then e_mousemove with the held buttons.
void on_mouse_move(Window win, const QMouseEvent* ev);
// One e_vscroll per wheel-scroll line and notch: 1 (line up) away from the user, 2 towards;
// `rest` keeps the part of a notch not used yet.
void on_wheel(Window win, const QWheelEvent* ev, int& rest);
void on_focus(Window win, bool gained);
void on_size(Window win, QSize client_size);
void on_move(Window win, QPoint client_origin);

// A point of a mouse event as the event domain has it (signed 16-bit coordinates).
Point point_of(QPointF p);
int button_of(Qt::MouseButton b);  // -1 for other buttons

}  // namespace gui_detail
