// Destruction of windows, close requests, command routing of the (MDI) task window, posted
// events and the placement of the MDI client.
#include "internal/lifecycle.h"

#include <QDialog>
#include <QEventLoop>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <algorithm>

#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/key_codes.h"
#include "internal/menu_model.h"
#include "internal/modal_box.h"
#include "internal/task_data.h"
#include "internal/window_record.h"

namespace gui_detail {
namespace {

bool is_mdi_child(const WindowRecord& r) { return qobject_cast<QMdiSubWindow*>(r.frame.data()) != nullptr; }

void arrange_icons(QMdiArea* mdi) {
  int x = 0;
  const int bottom = mdi->viewport()->height();
  for (QMdiSubWindow* s : mdi->subWindowList()) {
    if (!s->isMinimized()) continue;
    s->move(x, bottom - s->height());
    x += s->width();
  }
}

// The record of the active MDI child that shows its own menu, or nullptr.
WindowRecord* active_child_with_menu() {
  TaskData* t = task();
  if (!t || !t->mdi_client) return nullptr;
  WindowRecord* c = find_record(t->mdi_client->activeSubWindow());
  return (c && !c->dying && c->menu) ? c : nullptr;
}

}  // namespace

void destroy_window(Window win) {
  WindowRecord* r = find_record(win);
  if (!r || r->dying) return;
  TaskData* t = task();
  const bool is_task = r->kind == wk_Task;

  std::vector<Window> doomed;
  for (WindowRecord* x : all_records())
    if (is_task || is_ancestor_or_self(win, x->handle)) doomed.push_back(x->handle);
  // The window itself first, then its descendants in creation order.
  std::stable_partition(doomed.begin(), doomed.end(), [win](Window d) { return d == win; });
  for (Window d : doomed) find_record(d)->dying = true;
  // Boxes and dialogs open for these windows end as cancelled; their widgets may go with these.
  // Ending them moves the focus, whose handlers may have destroyed this window by now (with an
  // ancestor, or with the task window): its record is looked up again.
  end_loops_of(doomed);
  r = find_record(win);
  if (!r) return;

  if (QWidget* outer = outer_widget(*r)) {
    if (auto* dlg = qobject_cast<QDialog*>(outer))
      dlg->done(QDialog::Rejected);
    else
      outer->hide();
  }
  if (!is_task) refresh_task_menu_bar();

  // A window made on a dying one while the e_destroy events run goes with it, e_destroy and all.
  auto add_newcomers = [&] {
    for (WindowRecord* x : all_records())
      if (!x->dying && (is_task || is_ancestor_or_self(win, x->handle))) {
        x->dying = true;
        doomed.push_back(x->handle);
      }
  };
  for (std::size_t i = 0; i < doomed.size(); ++i) {
    const Window d = doomed[i];
    if (find_record(d)) {
      if (t) t->destroying.push_back(d);
      deliver(d, e_destroy{});
      if (t) t->destroying.pop_back();
    }
    if (i + 1 == doomed.size()) add_newcomers();
  }

  for (Window d : doomed) {
    timers_window_gone(d);
    WindowRecord* x = find_record(d);
    if (!x) continue;
    QPointer<QWidget> outer = outer_widget(*x);
    const std::size_t loops_at_creation = x->loops_at_creation;
    if (t) {
      std::erase(t->dialogs, d);
      if (t->active_modeless_dialog == d) t->active_modeless_dialog = 0;
    }
    unregister_window(d);
    delete_after_loops(outer, loops_at_creation);
  }

  if (is_task && t) {
    t->task_destroyed = true;
    if (t->loop) t->loop->exit(0);
  } else {
    refresh_task_menu_bar();
  }
}

void close_request(Window win) {
  WindowRecord* r = find_record(win);
  if (!r || r->dying) return;
  if (deliver(win, e_closerequest{}).handled) return;
  r = find_record(win);
  if (!r || r->dying) return;
  TaskData* t = task();
  if (r->kind == wk_Task && t && t->mdi_client) {
    std::vector<Window> children;
    for (WindowRecord* x : all_records())
      if (x->kind == wk_TopLevel && is_mdi_child(*x) && !x->dying) children.push_back(x->handle);
    for (Window c : children) close_request(c);
    for (WindowRecord* x : all_records())
      if (x->kind == wk_TopLevel && is_mdi_child(*x) && !x->dying) return;  // one stayed open
  }
  destroy_window(win);
}

void route_command(Window owner, int tag) {
  WindowRecord* r = find_record(owner);
  if (!r) return;
  tag &= 0xFFFF;
  const int shift = current_shift_state();
  TaskData* t = task();
  if (r->kind == wk_Task && t && t->mdi_client) {
    QMdiArea* mdi = t->mdi_client;
    switch (tag) {
      case 9201: mdi->tileSubWindows(); return;
      case 9202: mdi->cascadeSubWindows(); return;
      case 9203: arrange_icons(mdi); return;
      case 9204: mdi->activateNextSubWindow(); return;
      case 9205: mdi->closeActiveSubWindow(); return;
      default: break;
    }
    if (WindowRecord* c = active_child_with_menu()) {
      deliver(c->handle, e_menu{tag, shift});
      return;
    }
  }
  deliver(owner, e_menu{tag, shift});
}

void route_initmenu(Window owner) {
  const WindowRecord* r = find_record(owner);
  if (!r) return;
  if (r->kind == wk_Task)
    if (WindowRecord* c = active_child_with_menu()) {
      deliver(c->handle, e_initmenu{});
      return;
    }
  deliver(owner, e_initmenu{});
}

void refresh_task_menu_bar() {
  TaskData* t = task();
  if (!t) return;
  WindowRecord* tr = find_record(t->task_window);
  auto* frame = tr ? qobject_cast<QMainWindow*>(tr->frame.data()) : nullptr;
  if (!frame || tr->dying) return;
  const MenuModel* shown = tr->menu.get();
  if (WindowRecord* c = active_child_with_menu()) shown = c->menu.get();
  if (shown) shown->show_in(frame->menuBar());
}

void fit_mdi_client() {
  TaskData* t = task();
  if (!t || !t->mdi_client) return;
  QWidget* client = t->mdi_client->parentWidget();
  if (!client) return;
  const Attributes& a = attributes();
  const QRect r(a.margin_left, a.margin_top,
                std::max(0, client->width() - a.margin_left - a.margin_right),
                std::max(0, client->height() - a.margin_top - a.margin_bottom));
  t->mdi_client->setGeometry(r);
}

void process_posted(Window win, const Event& ev) {
  WindowRecord* r = find_record(win);
  if (!r || r->dying) return;
  if (const auto* m = std::get_if<e_menu>(&ev)) {
    if (r->kind == wk_Task)
      route_command(win, m->tag);
    else
      deliver(win, *m);
  } else if (std::holds_alternative<e_destroy>(ev)) {
    destroy_window(win);
  } else if (std::holds_alternative<e_closerequest>(ev)) {
    close_request(win);
  } else if (std::holds_alternative<e_update>(ev)) {
    if (r->client) r->client->update();
  } else if (std::holds_alternative<e_mousedown>(ev)) {
    if (r->client && r->client->focusPolicy() != Qt::NoFocus) r->client->setFocus(Qt::MouseFocusReason);
    deliver(win, ev);
  } else {
    deliver(win, ev);
  }
}

}  // namespace gui_detail
