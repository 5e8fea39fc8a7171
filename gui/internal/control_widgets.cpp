// Control widgets and their notifications to the parent.
#include "internal/control_widgets.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "internal/dispatch.h"
#include "internal/task_data.h"
#include "internal/window_record.h"

namespace gui_detail {
namespace {

bool is_return(const QKeyEvent* ev) { return ev->key() == Qt::Key_Return || ev->key() == Qt::Key_Enter; }

// The radio buttons of the group of `win`: its siblings in creation order, from the nearest
// control at or before it that starts a group up to the next control that starts one.
std::vector<WindowRecord*> radio_group(const WindowRecord& me) {
  std::vector<WindowRecord*> group;
  for (WindowRecord* r : all_records()) {
    if (r->parent != me.parent || r->dying || r->kind < wk_PushButton || r->kind > wk_Custom) continue;
    const ControlTraits* t = traits_of(r->client);
    if (t && t->group_start) {
      if (r->handle > me.handle) break;
      group.clear();
    }
    if (r->kind == wk_RadioButton) group.push_back(r);
  }
  return group;
}

}  // namespace

ControlTraits* traits_of(QWidget* w) { return dynamic_cast<ControlTraits*>(w); }

void notify_parent(QWidget* w, const ControlInfo& info) {
  if (delivery_blocked()) return;
  const ControlTraits* t = traits_of(w);
  if (t && t->quiet > 0) return;
  const WindowRecord* r = find_record(w);
  if (!r || r->dying || r->client != w) return;
  const WindowRecord* p = find_record(r->parent);
  if (!p || p->dying || p->being_created) return;
  if (std::holds_alternative<modified>(info) && attributes().suppress_change) return;
  const Window parent = p->handle;
  const e_control ev{r->control_id, r->kind, r->handle, info};
  run_trapped([&] { deliver(parent, ev); });
}

CtlPushButton::CtlPushButton(QWidget* parent) : QPushButton(parent) {
  setAutoDefault(false);
  connect(this, &QAbstractButton::clicked, this, [this] { notify_parent(this, ::activated{}); });
}

void CtlPushButton::paintEvent(QPaintEvent* ev) {
  QStyleOptionButton opt;
  initStyleOption(&opt);
  const QRect room = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
  const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
  if (!opt.icon.isNull() || fontMetrics().boundingRect(room, flags, opt.text).width() <= room.width()) {
    QPushButton::paintEvent(ev);
    return;
  }
  QPainter p(this);
  style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
  const int frame = (width() - face_width()) / 2;
  p.setFont(caption_font());
  style()->drawItemText(&p, rect().adjusted(frame, 0, -frame, 0), flags, opt.palette, isEnabled(), opt.text,
                        QPalette::ButtonText);
}

int CtlPushButton::face_width() const {
  QStyleOptionButton opt;
  initStyleOption(&opt);
  return width() - 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
}

QFont CtlPushButton::caption_font() const {
  QFont f = font();
  const int room = face_width();
  const QString caption = QString(text()).remove(QLatin1Char('&'));
  // A few steps down from the button's size; text widths do not shrink exactly in proportion
  // (hinting), so each step measures again.
  for (int step = 0; step < 8 && room > 0 && QFontMetricsF(f).horizontalAdvance(caption) > room; ++step) {
    const qreal size = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize();
    const qreal next = size * std::min(0.97, room / QFontMetricsF(f).horizontalAdvance(caption));
    f.pointSizeF() > 0 ? f.setPointSizeF(next) : f.setPixelSize(std::max(1, int(next)));
  }
  return f;
}

CtlCheckBox::CtlCheckBox(QWidget* parent) : QCheckBox(parent) {
  connect(this, &QAbstractButton::clicked, this, [this] { notify_parent(this, ::activated{}); });
}

// A click changes the state only of an automatic check box (unchecked, checked, and for a
// three-state box indeterminate, in turn); the program sets the others itself.
void CtlCheckBox::nextCheckState() {
  if (auto_check) QCheckBox::nextCheckState();
}

CtlRadioButton::CtlRadioButton(QWidget* parent) : QRadioButton(parent) {
  setAutoExclusive(false);
  connect(this, &QAbstractButton::clicked, this, [this] { notify_parent(this, ::activated{}); });
}

// An automatic radio button checks itself and clears the other radio buttons of its group.
void CtlRadioButton::nextCheckState() {
  if (!auto_check) return;
  if (const WindowRecord* me = find_record(this)) {
    for (WindowRecord* r : radio_group(*me))
      if (r != me)
        if (auto* b = qobject_cast<QRadioButton*>(r->client.data())) b->setChecked(false);
  }
  setChecked(true);
}

void CtlGroupBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QFontMetrics fm(font());
  const QString caption = title();
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
  const QRect text = fm.boundingRect(QRect(fm.averageCharWidth(), 0, width(), fm.height()), flags, caption)
                         .adjusted(-2, 0, 2, 0);
  // An etched frame: a shadow line and a light line beside it.
  const QRect frame = rect().adjusted(0, fm.height() / 2, -1, -1);
  p.save();
  if (!caption.isEmpty()) p.setClipRegion(QRegion(rect()).subtracted(QRegion(text)));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(frame.adjusted(0, 0, -1, -1));
  p.setPen(palette().color(QPalette::Light));
  p.drawRect(frame.adjusted(1, 1, 0, 0));
  p.restore();
  if (!caption.isEmpty())
    style()->drawItemText(&p, text, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), caption,
                          QPalette::WindowText);
}

void CtlLabel::show_text(const QString& text) {
  setText(text);
  // A label with a buddy draws its mnemonic; while it has no field of its own it is its own.
  if (prefix && !buddy() && text.contains(QLatin1Char('&'))) setBuddy(this);
}

bool CtlLabel::event(QEvent* ev) {
  if (ev->type() == QEvent::Shortcut && buddy() == this) {
    for (QWidget* n = nextInFocusChain(); n && n != this; n = n->nextInFocusChain()) {
      if ((n->focusPolicy() & Qt::TabFocus) && n->isVisible() && n->isEnabled()) {
        n->setFocus(Qt::ShortcutFocusReason);
        break;
      }
    }
    return true;
  }
  return QLabel::event(ev);
}

CtlLineEdit::CtlLineEdit(QWidget* parent) : ReportsFocus(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] { notify_parent(this, ::modified{}); });
  // Upper- or lower-case conversion of what the user types.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& s) {
    if (!to_upper && !to_lower) return;
    const QString conv = to_upper ? s.toUpper() : s.toLower();
    if (conv == s) return;
    const int pos = cursorPosition();
    QuietScope quiet(this);
    setText(conv);
    setCursorPosition(pos);
  });
}

CtlTextEdit::CtlTextEdit(QWidget* parent) : ReportsFocus(parent) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { notify_parent(this, ::modified{}); });
}

// Without "Enter inserts a line break", Enter goes on to the dialog (its default button).
void CtlTextEdit::keyPressEvent(QKeyEvent* ev) {
  if (is_return(ev) && !want_return && !(ev->modifiers() & Qt::ControlModifier)) {
    ev->ignore();
    return;
  }
  if (to_upper || to_lower) {
    const QString typed = ev->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
      insertPlainText(to_upper ? typed.toUpper() : typed.toLower());
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(ev);
}

CtlListView::CtlListView(QWidget* parent) : ReportsFocus(parent), model_(new ListModel(this)) {
  setModel(model_);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // A line wider than the box is cut at its edge, never shortened with an ellipsis: the lines
  // are often padded columns whose tail is blanks.
  setTextElideMode(Qt::ElideNone);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (notify) notify_parent(this, ::selchanged{});
  });
}

// Enter is reported exactly as a double click: the parent hears `activated`.
void CtlListView::keyPressEvent(QKeyEvent* ev) {
  if (is_return(ev)) {
    ev->accept();
    notify_parent(this, ::activated{});
    return;
  }
  QListView::keyPressEvent(ev);
}

void CtlListView::mouseDoubleClickEvent(QMouseEvent* ev) {
  QListView::mouseDoubleClickEvent(ev);
  if (notify) notify_parent(this, ::activated{});
}

CtlComboBox::CtlComboBox(QWidget* parent, bool with_edit_line)
    : ReportsFocus(parent), model_(new ListModel(this)) {
  // A placeholder keeps the toolkit from selecting the first line added to an empty list.
  setPlaceholderText(QStringLiteral(" "));
  setModel(model_);
  setEditable(with_edit_line);
  setInsertPolicy(QComboBox::NoInsert);
  if (with_edit_line) {
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { notify_parent(this, ::modified{}); });
  }
  connect(this, &QComboBox::activated, this, [this] { notify_parent(this, ::selchanged{}); });
}

void CtlComboBox::showPopup() {
  const WindowRecord* r = find_record(this);
  const Window me = r ? r->handle : 0;
  notify_parent(this, ::dropdown{});
  if (me && !live_record(me)) return;  // the parent's handler destroyed the list
  QComboBox::showPopup();
}

void CtlComboBox::hidePopup() {
  QComboBox::hidePopup();
  notify_parent(this, ::closeup{});
}

CtlScrollBar::CtlScrollBar(QWidget* parent, Qt::Orientation o) : QScrollBar(o, parent) {
  // Line and page steps and thumb tracking as scroll codes 1..6; the end of a drag as the
  // thumb position (5) followed by end of scrolling (0). Jumps to either end have no code here.
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
    int code = 0;
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: code = sc_LineUp; break;
      case QAbstractSlider::SliderSingleStepAdd: code = sc_LineDown; break;
      case QAbstractSlider::SliderPageStepSub: code = sc_PageUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = sc_PageDown; break;
      case QAbstractSlider::SliderMove: code = sc_ThumbTrack; break;
      default: code = 0; break;
    }
    notify_parent(this, ::scroll{code, sliderPosition()});
  });
  connect(this, &QAbstractSlider::sliderReleased, this, [this] {
    notify_parent(this, ::scroll{sc_ThumbPosition, sliderPosition()});
    notify_parent(this, ::scroll{sc_EndScroll, sliderPosition()});
  });
}

}  // namespace gui_detail
