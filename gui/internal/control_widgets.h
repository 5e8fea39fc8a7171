// The widgets of controls: one small subclass per control kind, each carrying the control's
// traits (group start, automatic check, sorted, selection mode …) and turning the toolkit's
// user-driven signals into the control's notifications, which reach the parent as e_control.
// Changes made by the layer itself run "quiet" (QuietScope) and notify nothing, as the platform
// reports only what the user did (the text of an edit field excepted: setting it reports
// `modified`).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "internal/list_model.h"
#include "layer/events.h"

namespace gui_detail {

struct ControlTraits {
  virtual ~ControlTraits() = default;
  bool group_start = false;  // first of a group (radio buttons are grouped by it)
  bool auto_check = false;   // an automatic check box or radio button changes state on a click
  bool notify = true;        // a list box reports selection changes and double clicks
  bool want_return = false;  // Enter in a multi-line edit field inserts a line break
  bool sorted = false;       // a list adds its lines in sorted order
  bool multi = false;        // a list box with multiple or extended selection
  bool to_upper = false, to_lower = false;  // an edit field converts its input
  int quiet = 0;             // > 0: the layer is changing the control; nothing is reported
};

// The traits of a control's widget, or nullptr for any other widget.
ControlTraits* traits_of(QWidget* w);

// Marks a control quiet while the scope lives.
class QuietScope {
 public:
  explicit QuietScope(QWidget* w) : t_(traits_of(w)) { if (t_) ++t_->quiet; }
  ~QuietScope() { if (t_) --t_->quiet; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  ControlTraits* t_;
};

// Delivers e_control(Id, Kind, Control, info) to the parent of the control that `w` is, unless
// the control is quiet, either window is being destroyed or the parent dialog is being created.
void notify_parent(QWidget* w, const ControlInfo& info);

// A control that reports the keyboard focus arriving (getfocus) and leaving (losefocus) to its
// parent, after the widget's own handling of the change.
template <class Widget>
class ReportsFocus : public Widget {
 public:
  using Widget::Widget;

 protected:
  void focusInEvent(QFocusEvent* ev) override {
    Widget::focusInEvent(ev);
    notify_parent(this, ::getfocus{});
  }
  void focusOutEvent(QFocusEvent* ev) override {
    Widget::focusOutEvent(ev);
    notify_parent(this, ::losefocus{});
  }
};

class CtlPushButton : public QPushButton, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlPushButton(QWidget* parent);

  // The font the caption is drawn in: the button's own, or, when the caption is wider than the
  // face inside the frame, the same font made just small enough for it to fit.
  QFont caption_font() const;

 protected:
  // A caption wider than the room the style leaves inside the button is centred on the whole
  // face, in caption_font(), instead of losing its first and last letters.
  void paintEvent(QPaintEvent* ev) override;

 private:
  int face_width() const;
};

class CtlCheckBox : public QCheckBox, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlCheckBox(QWidget* parent);

 protected:
  void nextCheckState() override;
};

class CtlRadioButton : public QRadioButton, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlRadioButton(QWidget* parent);

 protected:
  void nextCheckState() override;
};

class CtlGroupBox : public QGroupBox, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlGroupBox(QWidget* parent) : QGroupBox(parent) {}

 protected:
  // The frame's top line runs through the middle of the caption line, with or without a
  // caption, so that boxes set side by side at one height line up; the caption interrupts it.
  void paintEvent(QPaintEvent* ev) override;
};

// A static text shows "&x" as an underlined mnemonic (unless made without prefix handling);
// the mnemonic moves the focus to its field, or, while it labels none, to the next control that
// takes the focus by Tab.
class CtlLabel : public QLabel, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlLabel(QWidget* parent) : QLabel(parent) {}
  bool prefix = true;
  void show_text(const QString& text);

 protected:
  bool event(QEvent* ev) override;
};

class CtlLineEdit : public ReportsFocus<QLineEdit>, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlLineEdit(QWidget* parent);
};

class CtlTextEdit : public ReportsFocus<QPlainTextEdit>, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlTextEdit(QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* ev) override;
};

class CtlListView : public ReportsFocus<QListView>, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlListView(QWidget* parent);
  ListModel& list() { return *model_; }

 protected:
  void keyPressEvent(QKeyEvent* ev) override;
  void mouseDoubleClickEvent(QMouseEvent* ev) override;

 private:
  ListModel* model_;
};

class CtlComboBox : public ReportsFocus<QComboBox>, public ControlTraits {
  Q_OBJECT
 public:
  CtlComboBox(QWidget* parent, bool with_edit_line);
  ListModel& list() { return *model_; }
  void showPopup() override;
  void hidePopup() override;

 private:
  ListModel* model_;
};

class CtlScrollBar : public QScrollBar, public ControlTraits {
  Q_OBJECT
 public:
  CtlScrollBar(QWidget* parent, Qt::Orientation o);
};

}  // namespace gui_detail
