// dlg_Progress over the toolkit's progress dialog, run as a modal box of the layer that the
// work's reports keep alive (the toolkit processes events at each step of a modal progress box).
#include <QCloseEvent>
#include <QProgressDialog>
#include <algorithm>

#include "internal/modal_box.h"
#include "internal/std_dialog_support.h"
#include "internal/text.h"
#include "layer/progress.h"

using namespace gui_detail;

namespace {

constexpr int kSteps = 10000;  // the bar's resolution, whatever the work's total

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
  box->setWindowTitle(to_qt(title));
  box->setLabelText(to_qt(text));
  if (cancellable)
    box->setCancelButtonText(to_qt(cancel_text));
  else
    box->setCancelButton(nullptr);
  box->setWindowModality(Qt::ApplicationModal);
  box->setAutoReset(false);
  box->setAutoClose(false);
  box->setRange(0, kSteps);
  box->setMinimumDuration(std::max(0, delay_ms));
  box->setValue(0);
  const RunningLoop loop(box.get(), parent);

  int shown = 0;
  const ProgressReport report = [&](long long done) {
    if (loop.ended() || !box.get()) return false;
    const long long clamped = std::clamp(done, 0LL, std::max(total, 0LL));
    const int step = total > 0 ? static_cast<int>(clamped * kSteps / total) : kSteps;
    if (step != shown) {
      shown = step;
      box->setValue(step);  // once the box shows, each new value processes the waiting events
    }
    return !loop.ended() && box.get() && !box->wasCanceled();
  };
  return work(report);
}
