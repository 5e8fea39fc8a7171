// Client and outer rectangles of frames, MDI sub-windows and plain widgets.
#include "internal/geometry.h"

#include <QLayout>
#include <QWidget>

namespace gui_detail {
namespace {

void settle_layout(QWidget* w) {
  w->ensurePolished();
  if (QLayout* l = w->layout()) {
    l->invalidate();
    l->activate();
  }
}

// Keeps a window without a sizing border at the size it was given. Looks the record up by its
// handle: placing the window delivered e_size and e_move, whose handlers may have destroyed it.
void apply_fixed_size(Window win, QWidget* outer) {
  const WindowRecord* r = live_record(win);
  if (!r) return;
  if (r->kind == wk_TopLevel || r->kind == wk_Task || r->kind == wk_ModalDialog || r->kind == wk_ModelessDialog) {
    if (!r->style.sizing_border && outer->isWindow()) outer->setFixedSize(outer->size());
  }
}

}  // namespace

QWidget* outer_widget(const WindowRecord& r) { return r.frame ? r.frame.data() : r.client.data(); }

QRect to_qrect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }
Rect to_rect(const QRect& r) { return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

void set_outer_geometry(WindowRecord& r, const QRect& outer_rect) {
  QWidget* outer = outer_widget(r);
  if (!outer) return;
  if (outer->isWindow() && !r.style.sizing_border) outer->setMinimumSize(0, 0), outer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const Window win = r.handle;
  outer->setGeometry(outer_rect);
  if (!live_record(win)) return;
  settle_layout(outer);  // the client has its size before the window hears of its creation
  apply_fixed_size(win, outer);
}

void set_client_geometry(WindowRecord& r, const QRect& client_rect) {
  QWidget* outer = outer_widget(r);
  QWidget* client = r.client;
  if (!outer || !client) return;
  if (outer->isWindow() && !r.style.sizing_border) outer->setMinimumSize(0, 0), outer->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const Window win = r.handle;
  if (outer == client) {  // a dialog, or a control
    client->setGeometry(client_rect);
    apply_fixed_size(win, outer);
    return;
  }
  // Two passes: the frame's parts (title bar, borders, menu bar) are measured once the frame
  // has been laid out at some size, then the frame is given the size that leaves the client.
  for (int pass = 0; pass < 2; ++pass) {
    settle_layout(outer);
    if (!live_record(win)) return;
    const QPoint off = client->mapTo(outer, QPoint(0, 0));
    const QSize extra = outer->size() - client->size();
    outer->setGeometry(QRect(client_rect.topLeft() - off, client_rect.size() + extra));
    if (!live_record(win)) return;
  }
  settle_layout(outer);
  apply_fixed_size(win, outer);
}

}  // namespace gui_detail
