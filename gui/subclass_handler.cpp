// win_SetSubClassHandler and the translation of a subclassed control's own input into events.
// Windows of the layer translate their input already; a control's widget gets a filter that
// does it for the control while it has a subclass handler.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPointer>
#include <QResizeEvent>
#include <algorithm>

#include "internal/dispatch.h"
#include "internal/translate.h"
#include "internal/window_record.h"
#include "layer/win_ops.h"

using namespace gui_detail;

namespace {

// Offers the control's input to its subclass handler. Installed on the control's widget and on
// the parts of it that receive input first (a list's or editor's viewport, a list edit's line).
class SubclassFilter : public QObject {
 public:
  static constexpr const char* kName = "layer_subclass_filter";

  SubclassFilter(Window win, QWidget* control) : QObject(control), win_(win), control_(control) {
    setObjectName(kName);
    parts_ << control;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) parts_ << area->viewport();
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) parts_ << combo->lineEdit();
    for (QWidget* p : parts_) {
      tracked_ << p->hasMouseTracking();
      p->setMouseTracking(true);  // moves without a held button, as the platform reports them
      p->installEventFilter(this);
    }
  }

  // Stops translating; the filter goes once the event being delivered is over.
  void retire() {
    setObjectName(QString());
    for (qsizetype i = 0; i < parts_.size(); ++i)
      if (QWidget* p = parts_[i]) {
        p->removeEventFilter(this);
        p->setMouseTracking(tracked_[i]);
      }
    deleteLater();
  }

  bool eventFilter(QObject* obj, QEvent* ev) override {
    auto* w = qobject_cast<QWidget*>(obj);
    const WindowRecord* r = find_record(win_);
    if (!w || !r || r->dying || !r->subclass_handler || delivery_blocked()) return false;
    bool taken = false;
    switch (ev->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        if (came_from_part(w, QApplication::focusWidget())) return false;
        const auto* k = static_cast<QKeyEvent*>(ev);
        run_trapped([&] { taken = ev->type() == QEvent::KeyPress ? on_key_press(win_, k) : on_key_release(win_, k); });
        return taken;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(ev);
        const QPointF at = w->mapTo(control_, m->position());
        if (came_from_part(w, control_->childAt(at.toPoint()))) return false;
        // The point in the control's own coordinates, whichever part was hit.
        const QMouseEvent mapped(m->type(), at, m->globalPosition(), m->button(), m->buttons(), m->modifiers());
        run_trapped([&] {
          switch (ev->type()) {
            case QEvent::MouseButtonPress: taken = on_mouse_press(win_, nullptr, &mapped); break;
            case QEvent::MouseButtonRelease: taken = on_mouse_release(win_, &mapped); break;
            case QEvent::MouseButtonDblClick: taken = on_mouse_double(win_, &mapped); break;
            default: on_mouse_move(win_, &mapped); break;
          }
        });
        return taken && ev->type() != QEvent::MouseMove;
      }
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        if (w == control_) run_trapped([&] { on_focus(win_, ev->type() == QEvent::FocusIn); });
        return false;
      case QEvent::Resize:
        if (w == control_) run_trapped([&] { on_size(win_, static_cast<QResizeEvent*>(ev)->size()); });
        return false;
      case QEvent::Move:
        if (w == control_) run_trapped([&] { on_move(win_, static_cast<QMoveEvent*>(ev)->pos()); });
        return false;
      default:
        return false;
    }
  }

 private:
  // Whether an event at the control's own widget has already been offered at one of its parts
  // (`origin`), from which the toolkit passed it on.
  bool came_from_part(const QWidget* w, const QWidget* origin) const {
    if (w != control_ || !origin || origin == control_) return false;
    return std::any_of(parts_.begin(), parts_.end(), [origin](const QPointer<QWidget>& p) { return p.data() == origin; });
  }

  Window win_;
  QPointer<QWidget> control_;
  QList<QPointer<QWidget>> parts_;
  QList<bool> tracked_;
};

bool is_control_kind(int kind) { return (kind >= wk_PushButton && kind <= wk_Icon) || kind == wk_ListView; }

}  // namespace

void win_SetSubClassHandler(Window win, EventHandler handler) {
  WindowRecord& r = checked_record(win);
  r.subclass_handler = handler;
  if (!is_control_kind(r.kind) || !r.client) return;
  auto* filter = dynamic_cast<SubclassFilter*>(
      r.client->findChild<QObject*>(SubclassFilter::kName, Qt::FindDirectChildrenOnly));
  if (handler && !filter) new SubclassFilter(win, r.client);
  if (!handler && filter) filter->retire();
}
