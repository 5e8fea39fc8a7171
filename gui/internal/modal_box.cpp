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

// Objects of destroyed windows, each deleted when no more loops run than ran when its window was
// made.
struct Waiting {
  QPointer<QObject> object;
  std::size_t loops_at_creation = 0;
};
std::vector<Waiting>& waiting() {
  static std::vector<Waiting> objects;
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
  const std::size_t now = running().size();
  std::vector<QPointer<QObject>> due;
  std::erase_if(waiting(), [&](const Waiting& w) {
    if (w.loops_at_creation < now) return false;
    due.push_back(w.object);
    return true;
  });
  for (const QPointer<QObject>& o : due)
    if (o) o->deleteLater();
}

std::size_t running_loops() { return running().size(); }

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

void delete_after_loops(QObject* o, std::size_t loops_at_creation) {
  if (!o) return;
  if (running().size() <= loops_at_creation)
    o->deleteLater();
  else
    waiting().push_back({o, loops_at_creation});
}

}  // namespace gui_detail
