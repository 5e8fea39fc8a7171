// The window operations: creation and destruction, events, text, geometry, focus, accessors.
#include "layer/win_ops.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>

#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/lifecycle.h"
#include "internal/posted.h"
#include "internal/qt_window.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/window_build.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

bool is_control_kind(int kind) { return (kind >= wk_PushButton && kind <= wk_Icon) || kind == wk_ListView; }

bool has_handler_kind(int kind) {
  return kind == wk_TopLevel || kind == wk_Child || kind == wk_Task || kind == wk_ModalDialog ||
         kind == wk_ModelessDialog || kind == wk_Custom;
}

// A window that stands on its own rather than inside its parent: a dialog or a frame window.
bool is_owned_window(const WindowRecord& r) {
  if (r.kind == wk_ModalDialog || r.kind == wk_ModelessDialog) return true;
  const QWidget* outer = outer_widget(r);
  return r.kind == wk_TopLevel && outer && outer->isWindow();
}

// A caption (of a button, a static text, a group box) and a window's title are the system's texts
// (system_text); what fields and lists hold is the user's (to_qt).
void set_widget_text(WindowRecord& r, std::string_view text) {
  QWidget* w = r.client;
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(system_text(text));
  else if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(to_qt(text));
  else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) pe->setPlainText(to_qt(text));
  else if (auto* te = qobject_cast<QTextEdit*>(w)) te->setPlainText(to_qt(text));
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(system_text(text));
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(system_text(text));
  else if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (c->isEditable()) c->setEditText(to_qt(text));
    else if (const int i = c->findText(to_qt(text)); i >= 0) c->setCurrentIndex(i);
  } else if (QWidget* o = outer_widget(r)) {
    o->setWindowTitle(system_text(text));
  }
}

QString widget_text(const WindowRecord& r) {
  const QWidget* w = r.client;
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (auto* pe = qobject_cast<const QPlainTextEdit*>(w)) return pe->toPlainText();
  if (auto* te = qobject_cast<const QTextEdit*>(w)) return te->toPlainText();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
  const QWidget* o = outer_widget(r);
  return o ? o->windowTitle() : QString();
}

// Offers every toolkit event of a hooked window to its handler as e_native.
class HookFilter : public QObject {
 public:
  bool eventFilter(QObject* obj, QEvent* ev) override {
    switch (ev->type()) {
      case QEvent::DeferredDelete: case QEvent::ChildAdded: case QEvent::ChildPolished:
      case QEvent::ChildRemoved: case QEvent::DynamicPropertyChange: case QEvent::MetaCall:
      case QEvent::ThreadChange: case QEvent::Destroy:
        return false;
      default: break;
    }
    WindowRecord* r = find_record(obj);
    if (!r || !r->hooked || r->client != obj || delivery_blocked()) return false;
    bool taken = false;
    const Window w = r->handle;
    r->hook_delivering = true;
    run_trapped([&] { taken = deliver(w, e_native{static_cast<std::uint32_t>(ev->type()), 0, 0}).handled; });
    if (WindowRecord* again = find_record(w)) again->hook_delivering = false;
    return taken;
  }
};

HookFilter* hook_filter() {
  static QPointer<HookFilter> f;
  if (!f) {
    f = new HookFilter;
    f->setParent(QCoreApplication::instance());
  }
  return f;
}

}  // namespace

Window win_Create(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                  const WinFlags& flags, EventHandler handler, std::int32_t creation_data) {
  return create_window(kind, rect, title, menu, parent, flags, handler, creation_data);
}

void win_Destroy(Window win) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind);
  const WindowRecord& r = checked_record(win);
  if (r.kind > 24) RUN_Error(errcode::kWrongKind);
  if (const TaskData* t = task())
    for (Window d : t->destroying)
      if (is_ancestor_or_self(win, d)) RUN_Error(errcode::kDestroyWhileDestroying);
  destroy_window(win);
}

long win_SendEvent(Window win, const Event& ev) {
  const WindowRecord* r = &checked_record(win);
  if (!std::holds_alternative<e_native>(ev)) {
    while (r && !has_handler_kind(r->kind)) r = find_record(r->parent);
    if (!r) RUN_Error(errcode::kNoEventTarget);
  }
  const Delivery d = deliver(r->handle, ev);
  return d.handled ? d.result : 0;
}

void win_PostEvent(Window win, const Event& ev) {
  checked_record(win);
  const bool postable =
      std::visit([](const auto& e) {
        using T = std::decay_t<decltype(e)>;
        return std::is_same_v<T, e_native> || std::is_same_v<T, e_user> || std::is_same_v<T, e_menu> ||
               std::is_same_v<T, e_destroy> || std::is_same_v<T, e_getfocus> || std::is_same_v<T, e_move> ||
               std::is_same_v<T, e_update> || std::is_same_v<T, e_closerequest> ||
               std::is_same_v<T, e_mousedown> || std::is_same_v<T, e_mouseup> ||
               std::is_same_v<T, e_mousedbl> || std::is_same_v<T, e_mousemove> ||
               std::is_same_v<T, e_endsession>;
      }, ev);
  if (!postable) RUN_Error(errcode::kCannotPost);
  post_layer_event(win, ev);
}

Window win_GetParent(Window win) {
  if (win == kScreenWindow) return kScreenWindow;
  return checked_record(win).parent;
}

void win_SetText(Window win, const std::string& text) {
  WindowRecord& r = checked_record(win);
  set_widget_text(r, text);
  deliver(win, e_state{::text{text}});
}

std::string win_GetText(Window win) { return from_qt(widget_text(checked_record(win))); }

void win_Move(Window win, Rect rect) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind);
  WindowRecord& r = checked_record(win);
  if (r.kind > 24) RUN_Error(errcode::kWrongKind);
  if (is_control_kind(r.kind)) {
    QWidget* group = r.kind == wk_GroupBox && r.client && r.client->isVisible() ? r.client.data() : nullptr;
    if (group) group->hide();
    set_outer_geometry(r, to_qrect(rect));
    if (group && live_record(win)) group->show();  // a handler of the move may have destroyed it
  } else {
    set_client_geometry(r, to_qrect(rect));
  }
}

Rect win_GetClientRect(Window win) {
  if (win == kScreenWindow) {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? Rect{0, 0, s->geometry().width(), s->geometry().height()} : Rect{};
  }
  const WindowRecord& r = checked_record(win);
  return r.client ? Rect{0, 0, r.client->width(), r.client->height()} : Rect{};
}

Rect win_GetOuterRect(Window win) {
  if (win == kScreenWindow) return win_GetClientRect(win);
  const WindowRecord& r = checked_record(win);
  const QWidget* outer = outer_widget(r);
  if (!outer) return {};
  if (outer->isWindow()) return to_rect(outer->frameGeometry());
  return to_rect(QRect(outer->mapToGlobal(QPoint(0, 0)), outer->size()));
}

void win_Invalidate(Window win) {
  WindowRecord& r = checked_record(win);
  if (r.surface) r.surface->erase_next();
  if (r.client) r.client->update();
}

void win_Update(Window win) {
  WindowRecord& r = checked_record(win);
  if (!r.client) return;
  if (r.paint_painter)
    r.client->update();  // a paint is running: the new one follows it
  else
    r.client->repaint();
}

void win_SetFocus(Window win) {
  WindowRecord& r = checked_record(win);
  QWidget* client = r.client;
  if (!client) RUN_Error(errcode::kFocusRefused);
  if (!client->isEnabled() && QApplication::focusWidget()) RUN_Error(errcode::kFocusRefused);
  const bool modeless = r.kind == wk_ModelessDialog;
  QWidget* outer = outer_widget(r);
  // Activation and the focus change run e_getfocus and e_losefocus: a handler may destroy the
  // window on the way.
  if (auto* sub = qobject_cast<QMdiSubWindow*>(outer); sub && sub->mdiArea())
    sub->mdiArea()->setActiveSubWindow(sub);
  else if (outer && outer->isWindow())
    outer->activateWindow();
  if (!live_record(win)) return;
  client->setFocus(Qt::OtherFocusReason);
  if (!live_record(win)) return;
  if (modeless)
    if (TaskData* t = task()) t->active_modeless_dialog = win;
}

void win_BringToTop(Window win) {
  WindowRecord& r = checked_record(win);
  QWidget* outer = outer_widget(r);
  if (!outer) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(outer); sub && sub->mdiArea()) {
    sub->mdiArea()->setActiveSubWindow(sub);
  } else {
    outer->raise();
    if (outer->isWindow()) outer->activateWindow();
  }
}

void win_SetHandler(Window win, EventHandler handler) { checked_record(win).handler = handler; }
EventHandler win_GetHandler(Window win) { return checked_record(win).handler; }
void win_SetData(Window win, std::int32_t data) { checked_record(win).creation_data = data; }
std::int32_t win_GetData(Window win) { return checked_record(win).creation_data; }

int win_GetType(Window win) {
  if (win == kScreenWindow) return wk_Screen;
  const WindowRecord* r = find_record(win);
  return r ? r->kind : wk_NotAWindow;
}

int win_GetCtlId(Window win) { return checked_record(win).control_id; }

std::vector<Window> win_GetChildWindows(Window win) {
  if (win != kScreenWindow) checked_record(win);
  std::vector<Window> out;
  for (const WindowRecord* r : all_records()) {
    if (r->handle == win || r->dying) continue;
    // A descendant through parents that all lie inside their own parents.
    const WindowRecord* x = r;
    bool inside = true;
    while (x && x->handle != win) {
      if (is_owned_window(*x) && !(win == kScreenWindow && x->parent == kScreenWindow)) {
        inside = false;
        break;
      }
      x = x->parent == kScreenWindow ? nullptr : find_record(x->parent);
    }
    if (inside && (x || win == kScreenWindow)) out.push_back(r->handle);
  }
  return out;
}

std::vector<Window> win_GetListDialogs() {
  const TaskData* t = task();
  return t ? t->dialogs : std::vector<Window>{};
}

void win_EnableHook(Window win, bool on) {
  WindowRecord& r = checked_record(win);
  r.hooked = on;
  if (!r.client) return;
  if (on)
    r.client->installEventFilter(hook_filter());
  else
    r.client->removeEventFilter(hook_filter());
}
