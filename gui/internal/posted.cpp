// The queue of posted events: one receiver object, so that events keep the order of posting.
#include "internal/posted.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

#include "internal/dispatch.h"
#include "internal/lifecycle.h"

namespace gui_detail {
namespace {

const QEvent::Type kPostedType = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedEvent : public QEvent {
 public:
  PostedEvent(Window w, Event e) : QEvent(kPostedType), win(w), ev(std::move(e)) {}
  Window win;
  Event ev;
};

class PostBox : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kPostedType) return QObject::event(e);
    auto* p = static_cast<PostedEvent*>(e);
    run_trapped([&] { process_posted(p->win, p->ev); });
    return true;
  }
};

PostBox* post_box() {
  static QPointer<PostBox> box;
  if (!box) {
    box = new PostBox;
    box->setParent(QCoreApplication::instance());
  }
  return box;
}

}  // namespace

void post_layer_event(Window win, Event ev) {
  QCoreApplication::postEvent(post_box(), new PostedEvent(win, std::move(ev)));
}

}  // namespace gui_detail
