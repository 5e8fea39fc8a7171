// Dropped files: an event filter on the widgets of a window or control that takes them.
#include "layer/file_drop.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include "internal/control_widgets.h"
#include "internal/dispatch.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "layer/events.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

bool is_control_kind(int kind) { return kind >= wk_PushButton && kind <= wk_ListView && kind != wk_Custom; }

// The local files among the dropped things, as the program's paths.
std::vector<std::string> local_files(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty())
      files.push_back(from_qt(QDir::toNativeSeparators(url.toLocalFile())));
  return files;
}

// Reports the drop once the toolkit is done with it (a handler may open a box, or destroy the
// window).
void report_drop(Window win, QPoint at, std::vector<std::string> files) {
  const WindowRecord* r = live_record(win);
  if (!r || !r->client) return;
  QMetaObject::invokeMethod(
      r->client.data(),
      [win, at, files = std::move(files)] {
        const WindowRecord* now = live_record(win);
        if (!now || !now->client) return;
        if (is_control_kind(now->kind))
          notify_parent(now->client, ::dropfiles{files});
        else
          run_trapped([&] { deliver(win, e_dropfiles{Point{at.x(), at.y()}, files}); });
      },
      Qt::QueuedConnection);
}

// Installed on the window's or control's widget and on the parts of it that receive drops (a
// scroll area's viewport, a combined list's edit line). Takes drags that carry local files and
// lets every other drag go on to the widget's own handling.
class DropFilter : public QObject {
 public:
  static constexpr const char* kName = "layer_file_drop";

  DropFilter(Window win, QWidget* owner) : QObject(owner), win_(win), owner_(owner) {
    setObjectName(QLatin1String(kName));
    watch(owner);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(owner)) watch(area->viewport());
    if (auto* combo = qobject_cast<QComboBox*>(owner); combo && combo->lineEdit()) watch(combo->lineEdit());
  }

  // Takes the filter off and gives each widget back its own drop setting.
  void retire() {
    for (std::size_t i = 0; i < watched_.size(); ++i)
      if (QWidget* w = watched_[i]) {
        w->removeEventFilter(this);
        w->setAcceptDrops(accepted_before_[i]);
      }
    deleteLater();
  }

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override {
    switch (ev->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* d = static_cast<QDragMoveEvent*>(ev);
        if (local_files(d->mimeData()).empty()) return false;
        d->setDropAction(Qt::CopyAction);
        d->accept();
        return true;
      }
      case QEvent::Drop: {
        auto* d = static_cast<QDropEvent*>(ev);
        std::vector<std::string> files = local_files(d->mimeData());
        if (files.empty()) return false;
        d->setDropAction(Qt::CopyAction);
        d->accept();
        const auto* from = static_cast<QWidget*>(obj);
        const WindowRecord* r = find_record(win_);
        QWidget* client = r ? r->client.data() : nullptr;
        QPoint at = d->position().toPoint();
        if (client && (from == client || client->isAncestorOf(from))) at = from->mapTo(client, at);
        report_drop(win_, at, std::move(files));
        return true;
      }
      default: return false;
    }
  }

 private:
  void watch(QWidget* w) {
    watched_.push_back(w);
    accepted_before_.push_back(w->acceptDrops());
    w->setAcceptDrops(true);
    w->installEventFilter(this);
  }

  Window win_;
  QPointer<QWidget> owner_;
  std::vector<QPointer<QWidget>> watched_;
  std::vector<bool> accepted_before_;
};

DropFilter* filter_of(const WindowRecord& r) {
  if (!r.client) return nullptr;
  return dynamic_cast<DropFilter*>(r.client->findChild<QObject*>(QLatin1String(DropFilter::kName), Qt::FindDirectChildrenOnly));
}

}  // namespace

void win_AcceptFiles(Window win, bool accept) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind);
  const WindowRecord& r = checked_record(win);
  if (!r.client) RUN_Error(errcode::kWrongKind);
  DropFilter* f = filter_of(r);
  if (accept && !f) new DropFilter(win, r.client);
  if (!accept && f) {
    f->setObjectName(QString());  // gone for filter_of at once, deleted when the loop gets back
    f->retire();
  }
}

bool win_AcceptsFiles(Window win) {
  if (win == kScreenWindow) return false;
  return filter_of(checked_record(win)) != nullptr;
}
