// The widgets of an editor window: EditorView, the plain-text editor, which offers every input
// event to the window's handler first and does its own editing only for what the handler fails
// for; and EditorClient, the client area, holding the view above its status line together with
// the editor's settings and the last search.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QWidget>

#include "layer/types.h"

namespace editor_detail {

class EditorView : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit EditorView(QWidget* parent);
  bool auto_indent = false;

 protected:
  void keyPressEvent(QKeyEvent* ev) override;
  void keyReleaseEvent(QKeyEvent* ev) override;
  void mousePressEvent(QMouseEvent* ev) override;
  void mouseReleaseEvent(QMouseEvent* ev) override;
  void mouseDoubleClickEvent(QMouseEvent* ev) override;
  void mouseMoveEvent(QMouseEvent* ev) override;
  void wheelEvent(QWheelEvent* ev) override;
  void focusInEvent(QFocusEvent* ev) override;
  void focusOutEvent(QFocusEvent* ev) override;
  void changeEvent(QEvent* ev) override;

 private:
  Window handle() const;
  void fit_tab_stops();
  int wheel_rest_ = 0;
};

class EditorClient : public QWidget {
  Q_OBJECT
 public:
  EditorClient();
  EditorView* view() const { return view_; }
  QLabel* status_line() const { return status_; }

  // The last search: its text (empty: none yet) and options.
  QString search_text;
  QTextDocument::FindFlags search_flags;

 protected:
  void resizeEvent(QResizeEvent* ev) override;

 private:
  void show_caret_position();
  EditorView* view_;
  QLabel* status_;
};

// The client of an editor window: 6000 for no window of the layer, 6001 for another kind.
EditorClient& editor_client(Window win);

}  // namespace editor_detail
