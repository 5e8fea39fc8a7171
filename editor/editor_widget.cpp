// Input of the editor view through the layer's translation, then the editor's own handling;
// the client area with its status line.
#include "editor_widget.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QTextBlock>
#include <QVBoxLayout>

#include "internal/dispatch.h"
#include "internal/text.h"
#include "internal/translate.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace editor_detail {
namespace {

// The handle of the window the widget belongs to (0 once it is gone).
Window window_of(const QWidget* w) {
  for (; w; w = w->parentWidget())
    if (const WindowRecord* r = find_record(w)) return r->dying ? 0 : r->handle;
  return 0;
}

// Runs a translation under the layer's trap; true when the handler took the event.
template <class F>
bool offered(Window w, F&& translate) {
  bool taken = false;
  if (w) run_trapped([&] { taken = translate(); });
  return taken;
}

}  // namespace

EditorView::EditorView(QWidget* parent) : QPlainTextEdit(parent) {
  setContextMenuPolicy(Qt::PreventContextMenu);  // the window's handler decides what a right click does
  setMouseTracking(true);
  setTabChangesFocus(false);
  fit_tab_stops();
}

// Tab stops stand every eight average characters of the current font (the average taken over
// the Latin letters, as for dialog units), so labels followed by tabs line their values up.
void EditorView::fit_tab_stops() {
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  setTabStopDistance(8 * QFontMetricsF(font()).horizontalAdvance(letters) / letters.size());
}

void EditorView::changeEvent(QEvent* ev) {
  QPlainTextEdit::changeEvent(ev);
  if (ev->type() == QEvent::FontChange) fit_tab_stops();
}

Window EditorView::handle() const { return window_of(this); }

void EditorView::keyPressEvent(QKeyEvent* ev) {
  const Window w = handle();
  if (offered(w, [&] { return on_key_press(w, ev); })) return;
  if (w && !find_record(w)) return;  // the handler destroyed the window
  const bool enter = ev->key() == Qt::Key_Return || ev->key() == Qt::Key_Enter;
  if (auto_indent && enter && !isReadOnly() && ev->modifiers() == Qt::NoModifier) {
    const QString line = textCursor().block().text();
    qsizetype n = 0;
    while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
    textCursor().insertText(QStringLiteral("\n") + line.left(n));
    ensureCursorVisible();
    return;
  }
  QPlainTextEdit::keyPressEvent(ev);
}

void EditorView::keyReleaseEvent(QKeyEvent* ev) {
  const Window w = handle();
  if (offered(w, [&] { return on_key_release(w, ev); })) return;
  QPlainTextEdit::keyReleaseEvent(ev);
}

void EditorView::mousePressEvent(QMouseEvent* ev) {
  const Window w = handle();
  if (offered(w, [&] { return on_mouse_press(w, this, ev); })) return;
  QPlainTextEdit::mousePressEvent(ev);
}

void EditorView::mouseReleaseEvent(QMouseEvent* ev) {
  const Window w = handle();
  if (offered(w, [&] { return on_mouse_release(w, ev); })) return;
  QPlainTextEdit::mouseReleaseEvent(ev);
}

void EditorView::mouseDoubleClickEvent(QMouseEvent* ev) {
  const Window w = handle();
  if (offered(w, [&] { return on_mouse_double(w, ev); })) return;
  QPlainTextEdit::mouseDoubleClickEvent(ev);
}

void EditorView::mouseMoveEvent(QMouseEvent* ev) {
  const Window w = handle();
  offered(w, [&] { on_mouse_move(w, ev); return false; });
  QPlainTextEdit::mouseMoveEvent(ev);
}

void EditorView::wheelEvent(QWheelEvent* ev) {
  const Window w = handle();
  offered(w, [&] { on_wheel(w, ev, wheel_rest_); return false; });
  QPlainTextEdit::wheelEvent(ev);
}

void EditorView::focusInEvent(QFocusEvent* ev) {
  QPlainTextEdit::focusInEvent(ev);
  const Window w = handle();
  offered(w, [&] { on_focus(w, true); return false; });
}

void EditorView::focusOutEvent(QFocusEvent* ev) {
  QPlainTextEdit::focusOutEvent(ev);
  const Window w = handle();
  offered(w, [&] { on_focus(w, false); return false; });
}

EditorClient::EditorClient() : view_(new EditorView(this)), status_(new QLabel(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(view_, 1);
  layout->addWidget(status_);
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setContentsMargins(4, 1, 4, 1);
  setFocusProxy(view_);
  connect(view_, &QPlainTextEdit::cursorPositionChanged, this, [this] { show_caret_position(); });
  show_caret_position();
}

void EditorClient::show_caret_position() {
  const QTextCursor c = view_->textCursor();
  status_->setText(system_text("Line %1, Col %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
}

void EditorClient::resizeEvent(QResizeEvent* ev) {
  QWidget::resizeEvent(ev);
  const Window w = window_of(this);
  offered(w, [&] { on_size(w, ev->size()); return false; });
}

EditorClient& editor_client(Window win) {
  WindowRecord& r = checked_record(win);
  auto* c = qobject_cast<EditorClient*>(r.client.data());
  if (!c) RUN_Error(errcode::kWrongKind);
  return *c;
}

}  // namespace editor_detail
