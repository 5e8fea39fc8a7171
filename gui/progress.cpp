// dlg_Progress: the progress box over the toolkit's progress dialog, run as a modal box of the
// layer while the work runs on the program's thread. The work's reports show the box once the
// delay has passed and process the program's events a few dozen times a second, whether or not
// the bar moves, so a cancel or the end of the owner is heard at once.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>
#include <limits>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "layer/progress.h"

using namespace gui_detail;

namespace {

constexpr int kSteps = 10000;       // the bar's resolution, whatever the work's total
constexpr int kEventsEveryMs = 30;  // how often the work's reports let the program's events run

bool run_ending() {
  const TaskData* t = task();
  return t && t->pending_exit.has_value();
}

// A progress dialog that cannot be left by Escape or its close box when it has no cancel button.
class ProgressBox : public QProgressDialog {
 public:
  ProgressBox(QWidget* owner, bool cancellable) : QProgressDialog(owner), cancellable_(cancellable) {}

  void reject() override {
    if (cancellable_) cancel();
  }

 protected:
  void closeEvent(QCloseEvent* ev) override {
    if (cancellable_)
      QProgressDialog::closeEvent(ev);
    else
      ev->ignore();
  }

 private:
  bool cancellable_;
};

}  // namespace

bool dlg_Progress(const std::string& title, const std::string& text, long long total, const std::string& cancel_text,
                  int delay_ms, const std::function<bool(const ProgressReport&)>& work) {
  const auto own_app = make_application_if_needed();
  const Window parent = chosen_parent();
  const bool cancellable = !cancel_text.empty();
  // Once the box is gone (however the work ends), its owner's window is active again.
  struct Refocus {
    Window parent;
    ~Refocus() { refocus(parent); }
  } const refocused{parent};

  ModalBox<ProgressBox> box(owner_widget(parent), cancellable);
  box->setWindowTitle(system_text(title));
  box->setLabelText(system_text(text));
  if (cancellable)
    box->setCancelButtonText(system_text(cancel_text));
  else
    box->setCancelButton(nullptr);
  box->setWindowModality(Qt::ApplicationModal);
  box->setAutoReset(false);
  box->setAutoClose(false);
  box->setRange(0, kSteps);
  // The box is shown by the reports, not by the dialog's own estimate of the time left.
  box->setMinimumDuration(std::numeric_limits<int>::max());
  box->setValue(0);
  bool cancelled = false;
  QObject::connect(box.get(), &QProgressDialog::canceled, [&cancelled] { cancelled = true; });
  const RunningLoop loop(box.get(), parent);

  QElapsedTimer started, last_events;
  started.start();
  last_events.start();
  const ProgressReport report = [&](long long done) {
    if (last_events.elapsed() >= kEventsEveryMs) {
      last_events.restart();
      if (!loop.ended() && box.get()) {
        if (!box->isVisible() && !cancelled && started.elapsed() >= std::max(0, delay_ms)) box->show();
        const long long part = total > 0 ? std::clamp(done, 0LL, total) * kSteps / total : 0;
        box->setValue(static_cast<int>(part));
      }
      QCoreApplication::processEvents();
    }
    return !cancelled && !loop.ended() && box.get() && !run_ending();
  };
  const bool completed = work(report);
  if (!loop.ended() && box.get()) box->hide();
  return completed;
}
