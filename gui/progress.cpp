// dlg_Progress: the progress box over Qt's progress dialog, shown while the work runs on the
// program's thread. Events are processed from the work's steps, a few dozen times a second.
#include "layer/progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>
#include <limits>

#include "internal/application.h"
#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/task_data.h"
#include "internal/text.h"

using namespace gui_detail;

namespace {

constexpr int kShowAfterMs = 500;   // brief work shows no box
constexpr int kEventsEveryMs = 30;  // how often the work's steps let the program's events run
constexpr int kBarSteps = 1000;     // the bar's range, whatever the total

bool run_ending() {
  const TaskData* t = task();
  return t && t->pending_exit.has_value();
}

}  // namespace

bool dlg_Progress(const std::string& title, const std::string& text, std::int64_t total,
                  const std::function<bool(const ProgressStep& step)>& work) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  ModalBox<QProgressDialog> box(owner_widget(parent));
  box->setWindowTitle(to_qt(title));
  box->setLabelText(to_qt(text));
  box->setRange(0, kBarSteps);
  box->setAutoClose(false);
  box->setAutoReset(false);
  // The box is shown here, not by the dialog's own timer or estimate.
  box->setMinimumDuration(std::numeric_limits<int>::max());
  box->setWindowModality(Qt::ApplicationModal);
  bool cancelled = false;
  QObject::connect(box.get(), &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
  const RunningLoop loop(box.get(), parent);

  QElapsedTimer started, last_events;
  started.start();
  last_events.start();
  const ProgressStep step = [&](std::int64_t done) {
    if (last_events.elapsed() >= kEventsEveryMs) {
      last_events.restart();
      if (!loop.ended()) {
        if (!box->isVisible() && !cancelled && started.elapsed() >= kShowAfterMs) box->show();
        const std::int64_t part = total > 0 ? std::clamp<std::int64_t>(done, 0, total) * kBarSteps / total : 0;
        box->setValue(static_cast<int>(part));
      }
      QCoreApplication::processEvents();
    }
    return !cancelled && !loop.ended() && !run_ending();
  };
  const bool completed = work(step);
  if (!loop.ended()) box->hide();
  refocus(parent);
  return completed;
}
