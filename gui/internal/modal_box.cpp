// The register of running nested loops, the end of those whose owner is destroyed, and what
// waits for them to end before it is deleted.
#include "internal/modal_box.h"

#include <QDialog>
#include <algorithm>

#include "internal/window_record.h"

namespace gui_detail {
namespace {

// The loops that run now, innermost last. Each entry lives on the frame that runs its loop.
std::vector<RunningLoop*>& running() {
  static std::vector<RunningLoop*> loops;
  return loops;
}

// Objects of destroyed windows, deleted when the last registered loop has ended.
std::vector<QPointer<QObject>>& waiting() {
  static std::vector<QPointer<QObject>> objects;
  return objects;
}

bool sits_on(const QWidget* box, const std::vector<QPointer<QWidget>>& widgets) {
  for (const QWidget* w = box; w; w = w->parentWidget())
    if (std::find(widgets.begin(), widgets.end(), w) != widgets.end()) return true;
  return false;
}

}  // namespace

RunningLoop::RunningLoop(QWidget* box, Window owner) : box_(box), owner_(owner) { running().push_back(this); }

RunningLoop::~RunningLoop() {
  std::erase(running(), this);
  if (!running().empty()) return;
  std::vector<QPointer<QObject>> objects;
  objects.swap(waiting());
  for (const QPointer<QObject>& o : objects)
    if (o) o->deleteLater();
}

std::optional<int> exec_box(QDialog* box, Window owner) {
  if (!box) return std::nullopt;
  box->setWindowModality(Qt::ApplicationModal);
  const RunningLoop loop(box, owner);
  const int code = box->exec();
  if (loop.ended()) return std::nullopt;
  return code;
}

void end_loops_of(const std::vector<Window>& gone) {
  std::vector<QPointer<QWidget>> widgets;
  for (Window w : gone)
    if (const WindowRecord* r = find_record(w))
      for (QWidget* x : {r->frame.data(), r->client.data()})
        if (x) widgets.emplace_back(x);
  // Ending a box hides it, which runs focus handlers: work on a copy of the register. The
  // entries stay valid meanwhile, as their loops run below this frame.
  const std::vector<RunningLoop*> loops = running();
  for (RunningLoop* l : loops) {
    if (l->ended()) continue;
    const bool owned = std::find(gone.begin(), gone.end(), l->owner_) != gone.end() || sits_on(l->box_, widgets);
    if (!owned) continue;
    l->ended_ = true;
    if (auto* d = qobject_cast<QDialog*>(l->box_.data()))
      d->done(QDialog::Rejected);
    else
      l->box_->close();
  }
}

void delete_after_loops(QObject* o) {
  if (!o) return;
  if (running().empty())
    o->deleteLater();
  else
    waiting().emplace_back(o);
}

}  // namespace gui_detail
