// Toolkit events of dialogs turned into events of the domain.
#include "internal/layer_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>

#include "internal/dispatch.h"
#include "internal/key_codes.h"
#include "internal/lifecycle.h"
#include "internal/task_data.h"
#include "internal/translate.h"
#include "internal/window_record.h"

namespace gui_detail {
namespace {

// The dialog's default push button that can be pressed now.
QPushButton* default_button(QDialog* d) {
  for (QPushButton* b : d->findChildren<QPushButton*>())
    if (b->isDefault() && b->isVisible() && b->isEnabled()) return b;
  return nullptr;
}

}  // namespace

LayerDialog::LayerDialog(QWidget* parent) : QDialog(parent), surface_(this) { setSizeGripEnabled(false); }

void LayerDialog::paintEvent(QPaintEvent* ev) {
  const Window w = handle();
  if (!w) return;
  run_trapped([&] { surface_.paint(w, ev); });
}

Window LayerDialog::handle() const {
  const WindowRecord* r = find_record(this);
  return r ? r->handle : 0;
}

Window dialog_control(Window dialog, int id) {
  for (const WindowRecord* r : all_records())
    if (r->parent == dialog && r->control_id == id && r->kind >= wk_PushButton && r->kind <= wk_Custom &&
        !r->dying)
      return r->handle;
  return 0;
}

void dialog_command(Window dialog, int id) {
  if (const Window c = dialog_control(dialog, id)) {
    const WindowRecord* r = find_record(c);
    if (!r->client || !r->client->isEnabled()) return;
    deliver(dialog, e_control{id, r->kind, c, activated{}});
  } else {
    deliver(dialog, e_menu{id, current_shift_state()});
  }
}

bool LayerDialog::event(QEvent* ev) {
  if (ev->type() == QEvent::WindowActivate || ev->type() == QEvent::WindowDeactivate) {
    const WindowRecord* r = find_record(this);
    TaskData* t = task();
    if (r && t && r->kind == wk_ModelessDialog) {
      if (ev->type() == QEvent::WindowActivate)
        t->active_modeless_dialog = r->handle;
      else if (t->active_modeless_dialog == r->handle)
        t->active_modeless_dialog = 0;
    }
  }
  return QDialog::event(ev);
}

void LayerDialog::closeEvent(QCloseEvent* ev) {
  ev->ignore();
  if (const Window w = handle()) run_trapped([&] { close_request(w); });
}

void LayerDialog::keyPressEvent(QKeyEvent* ev) {
  ev->accept();
  const Window w = handle();
  if (!w) return;
  const bool plain = !(ev->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  switch (ev->key()) {
    case Qt::Key_Escape:
      if (plain) {
        run_trapped([&] { dialog_command(w, 2); });
        return;
      }
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (plain) {
        // A push button with the focus is the default while it has it.
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (focused && focused->window() == this && focused->isEnabled())
          focused->click();
        else if (QPushButton* b = default_button(this))
          b->click();
        else
          run_trapped([&] { dialog_command(w, 1); });
        return;
      }
      break;
    case Qt::Key_F1:
      run_trapped([&] {
        const Window c = dialog_control(w, 3);
        deliver(w, e_control{3, wk_PushButton, c, activated{}});
      });
      return;
    default:
      break;
  }
  // Other keys reach the dialog's handler only when the dialog itself has the focus.
  QWidget* focus = QApplication::focusWidget();
  if (!focus || focus == this) run_trapped([&] { on_key_press(w, ev); });
}

void LayerDialog::keyReleaseEvent(QKeyEvent* ev) {
  ev->accept();
  QWidget* focus = QApplication::focusWidget();
  if (const Window w = handle(); w && (!focus || focus == this)) run_trapped([&] { on_key_release(w, ev); });
}

void LayerDialog::mousePressEvent(QMouseEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_mouse_press(w, nullptr, ev); });
}

void LayerDialog::mouseReleaseEvent(QMouseEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_mouse_release(w, ev); });
}

void LayerDialog::mouseDoubleClickEvent(QMouseEvent* ev) {
  ev->accept();
  if (const Window w = handle()) run_trapped([&] { on_mouse_double(w, ev); });
}

void LayerDialog::resizeEvent(QResizeEvent* ev) {
  QDialog::resizeEvent(ev);
  surface_.resize(ev->size());
  if (const Window w = handle()) run_trapped([&] { on_size(w, size()); });
}

void LayerDialog::moveEvent(QMoveEvent* ev) {
  QDialog::moveEvent(ev);
  if (const Window w = handle()) run_trapped([&] { on_move(w, geometry().topLeft()); });
}

}  // namespace gui_detail
