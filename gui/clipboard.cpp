// The clipboard's text, the text field with the keyboard focus and the notice of its changes,
// and windows that a click gives no focus.
// The notices of one run hang on TaskData::text_watch: deleting it ends them all.
#include "layer/clipboard.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <cstdint>

#include "internal/dispatch.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/text_focus.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// The text field behind a widget that holds the focus: at most one of the three is set.
struct Field {
  QLineEdit* line = nullptr;
  QPlainTextEdit* plain = nullptr;
  QTextEdit* rich = nullptr;
  explicit operator bool() const { return line || plain || rich; }
};

Field field_of(QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();  // null unless it has an edit line
  // A scroll area's viewport hands its focus to the area.
  if (w && w->parentWidget())
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); area && area->viewport() == w) w = area;
  Field f;
  f.line = qobject_cast<QLineEdit*>(w);
  f.plain = qobject_cast<QPlainTextEdit*>(w);
  f.rich = qobject_cast<QTextEdit*>(w);
  return f;
}

// Whether the widget belongs to a window whose destruction has begun: hiding such a window can
// move the focus inside it, and what holds the focus there is on its way out.
bool in_dying_window(const QWidget* w) {
  for (; w; w = w->parentWidget())
    if (const WindowRecord* r = find_record(w)) return r->dying;
  return false;
}

// The text field with the focus; none while the focus is in a window on its way out.
Field focused_field() {
  QWidget* w = QApplication::focusWidget();
  return in_dying_window(w) ? Field{} : field_of(w);
}

bool clipboard_has_text() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

TextFocus focus_of(const Field& f) {
  TextFocus out;
  if (f.line) {
    out.field = true;
    out.selection = f.line->hasSelectedText() && f.line->echoMode() == QLineEdit::Normal;
    out.editable = !f.line->isReadOnly();
  } else if (f.plain) {
    out.field = true;
    out.selection = f.plain->textCursor().hasSelection();
    out.editable = !f.plain->isReadOnly();
  } else if (f.rich) {
    out.field = true;
    out.selection = f.rich->textCursor().hasSelection();
    out.editable = !f.rich->isReadOnly();
  }
  return out;
}

void notify() {
  TaskData* t = task();
  const TextFocusHandler handler = attributes().text_focus_handler;
  if (!handler || !t || t->task_destroyed || t->pending_exit || t->notifying_text_focus) return;
  // A report of an error of the handler moves the focus itself: it must not call the handler again.
  t->notifying_text_focus = true;
  run_trapped(handler);
  if (TaskData* now = task()) now->notifying_text_focus = false;
}

// The notices of one run, and what a click on a window that takes no focus needs: the widget
// that had the focus before the last change, and the window a press gave the focus last.
class TextWatch : public QObject {
 public:
  QPointer<QWidget> focus_before;
  std::uint64_t presses = 0;          // mouse presses seen by the application so far
  QPointer<QWidget> click_focused;    // the window given the focus by a press ...
  std::uint64_t click_focused_at = 0; // ... while `presses` had this count

 protected:
  // Runs for each press after the toolkit moved the focus for it and before the press arrives.
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::MouseButtonPress || ev->type() == QEvent::MouseButtonDblClick) ++presses;
    return false;
  }
};

TextWatch* watch_of_run() {
  TaskData* t = task();
  return t ? static_cast<TextWatch*>(t->text_watch.data()) : nullptr;
}

// The focus moved from `old` to `now`: the selection of the new field is watched instead.
void focus_moved(QWidget* old, QWidget* now) {
  TextWatch* watch = watch_of_run();
  if (!watch) return;
  watch->focus_before = old;
  if (const Field f = field_of(old)) {
    if (f.line) QObject::disconnect(f.line, nullptr, watch, nullptr);
    if (f.plain) QObject::disconnect(f.plain, nullptr, watch, nullptr);
    if (f.rich) QObject::disconnect(f.rich, nullptr, watch, nullptr);
  }
  if (const Field f = field_of(now)) {
    if (f.line) QObject::connect(f.line, &QLineEdit::selectionChanged, watch, notify);
    if (f.plain) QObject::connect(f.plain, &QPlainTextEdit::selectionChanged, watch, notify);
    if (f.rich) QObject::connect(f.rich, &QTextEdit::selectionChanged, watch, notify);
  }
  notify();
}

}  // namespace

void clip_SetText(const std::string& text) { QGuiApplication::clipboard()->setText(to_qt(text)); }

std::optional<std::string> clip_GetText() {
  if (!clipboard_has_text()) return std::nullopt;
  return from_qt(QGuiApplication::clipboard()->text());
}

Window win_GetFocus() {
  for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
    // A window whose destruction has begun does not count: the focus is in the nearest window
    // around it that stays.
    if (const WindowRecord* r = find_record(w); r && !r->dying) return r->handle;
    if (w->isWindow()) break;  // a window that is not the layer's: a standard dialog, the viewer
  }
  return 0;
}

void win_SetClickFocus(Window win, bool takes) {
  const WindowRecord& r = checked_record(win);
  if (r.kind != wk_TopLevel && r.kind != wk_Child) RUN_Error(errcode::kWrongKind);
  if (r.client) r.client->setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
}

TextFocus win_GetTextFocus() { return focus_of(focused_field()); }

namespace {

// Runs `op` on the widget of the field, whichever kind it is.
template <class Op>
void on_field(const Field& f, Op op) {
  if (f.line) op(f.line);
  if (f.plain) op(f.plain);
  if (f.rich) op(f.rich);
}

}  // namespace

bool win_CutToClipboard() {
  const Field f = focused_field();
  const TextFocus can = focus_of(f);
  if (!can.selection || !can.editable) return false;
  on_field(f, [](auto* w) { w->cut(); });
  return true;
}

bool win_CopyToClipboard() {
  const Field f = focused_field();
  if (!focus_of(f).selection) return false;
  on_field(f, [](auto* w) { w->copy(); });
  return true;
}

bool win_PasteFromClipboard() {
  const Field f = focused_field();
  if (!focus_of(f).editable || !clipboard_has_text()) return false;
  on_field(f, [](auto* w) { w->paste(); });
  return true;
}

void uix_SetTextFocusHandler(TextFocusHandler handler) { attributes().text_focus_handler = handler; }

namespace gui_detail {

void watch_text_focus(TaskData& t) {
  auto* watch = new TextWatch;
  t.text_watch = watch;
  qApp->installEventFilter(watch);
  QObject::connect(qApp, &QApplication::focusChanged, watch, focus_moved);
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, watch, notify);
  focus_moved(nullptr, QApplication::focusWidget());
}

void focus_came(QWidget* w, Qt::FocusReason reason) {
  TextWatch* watch = watch_of_run();
  if (!watch || reason != Qt::MouseFocusReason) return;
  watch->click_focused = w;
  watch->click_focused_at = watch->presses;
}

void keep_focus_from_click(QWidget* clicked) {
  // The toolkit gives the focus of a click on a widget that takes none to its nearest ancestor
  // that does, before the application sees the press; a focus that moved there with this very
  // press goes back.
  TextWatch* watch = watch_of_run();
  QWidget* now = QApplication::focusWidget();
  if (!watch || !watch->focus_before || !now || now != watch->click_focused ||
      watch->click_focused_at + 1 != watch->presses || !now->isAncestorOf(clicked))
    return;
  watch->click_focused = nullptr;
  watch->focus_before->setFocus(Qt::OtherFocusReason);
}

}  // namespace gui_detail
