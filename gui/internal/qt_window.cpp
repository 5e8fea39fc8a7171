// The layer's widgets: each toolkit event goes through the translation to the window's handler.
#include "internal/qt_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include "internal/dispatch.h"
#include "internal/lifecycle.h"
#include "internal/task_data.h"
#include "internal/text_focus.h"
#include "internal/translate.h"
#include "internal/window_record.h"

namespace gui_detail {

LayerClient::LayerClient(QWidget* parent) : QWidget(parent), surface_(this) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

Window LayerClient::handle() const {
  const WindowRecord* r = find_record(this);
  return r ? r->handle : 0;
}

// Tab is a key like any other for a window of the layer.
bool LayerClient::focusNextPrevChild(bool) { return false; }

void LayerClient::paintEvent(QPaintEvent* ev) {
  const Window w = handle();
  run_trapped([&] { surface_.paint(w, ev); });
}

void LayerClient::resizeEvent(QResizeEvent* ev) {
  surface_.resize(ev->size());
  const Window w = handle();
  if (!w) return;
  run_trapped([&] {
    if (const WindowRecord* r = find_record(w); r && r->kind == wk_Task) fit_mdi_client();
    on_size(w, ev->size());
  });
}

void LayerClient::moveEvent(QMoveEvent* ev) {
  const WindowRecord* r = find_record(this);
  if (r && (r->kind == wk_Child || r->kind == wk_Custom)) {
    const Window w = r->handle;
    run_trapped([&] { on_move(w, ev->pos()); });
  }
}

void LayerClient::focusInEvent(QFocusEvent* ev) {
  QWidget::focusInEvent(ev);
  focus_came(this, ev->reason());
  if (const Window w = handle()) run_trapped([&] { on_focus(w, true); });
}

void LayerClient::focusOutEvent(QFocusEvent* ev) {
  QWidget::focusOutEvent(ev);
  if (const Window w = handle()) run_trapped([&] { on_focus(w, false); });
}

void LayerClient::keyPressEvent(QKeyEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_key_press(w, ev); });
}

void LayerClient::keyReleaseEvent(QKeyEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_key_release(w, ev); });
}

void LayerClient::mousePressEvent(QMouseEvent* ev) {
  ev->accept();
  if (focusPolicy() == Qt::NoFocus) keep_focus_from_click(this);
  if (const Window w = handle()) run_trapped([&] { on_mouse_press(w, this, ev); });
}

void LayerClient::mouseReleaseEvent(QMouseEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_mouse_release(w, ev); });
}

void LayerClient::mouseDoubleClickEvent(QMouseEvent* ev) {
  ev->accept();
  if (focusPolicy() == Qt::NoFocus) keep_focus_from_click(this);
  if (const Window w = handle()) run_trapped([&] { on_mouse_double(w, ev); });
}

void LayerClient::mouseMoveEvent(QMouseEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_mouse_move(w, ev); });
}

void LayerClient::wheelEvent(QWheelEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_wheel(w, ev, wheel_rest_); });
}

LayerFrame::LayerFrame(QWidget* parent, Qt::WindowFlags flags) : QMainWindow(parent, flags) {}

void LayerFrame::closeEvent(QCloseEvent* ev) {
  ev->ignore();
  if (const WindowRecord* r = find_record(this)) {
    const Window w = r->handle;
    run_trapped([&] { close_request(w); });
  }
}

void LayerFrame::moveEvent(QMoveEvent* ev) {
  QMainWindow::moveEvent(ev);
  if (const WindowRecord* r = find_record(this); r && r->client) {
    const Window w = r->handle;
    const QPoint origin = r->client->mapToGlobal(QPoint(0, 0));
    run_trapped([&] { on_move(w, origin); });
  }
}

LayerMdiChild::LayerMdiChild() { setAttribute(Qt::WA_DeleteOnClose, false); }

void LayerMdiChild::closeEvent(QCloseEvent* ev) {
  ev->ignore();
  if (const WindowRecord* r = find_record(this)) {
    const Window w = r->handle;
    run_trapped([&] { close_request(w); });
  }
}

void LayerMdiChild::moveEvent(QMoveEvent* ev) {
  QMdiSubWindow::moveEvent(ev);
  if (const WindowRecord* r = find_record(this); r && r->client) {
    const Window w = r->handle;
    const QPoint origin = r->client->mapTo(this, QPoint(0, 0)) + ev->pos();
    run_trapped([&] { on_move(w, origin); });
  }
}

}  // namespace gui_detail
