// The handler chain, the error trap around handlers and the end of a run by RunExit.
#include "internal/dispatch.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <new>

#include "internal/task_data.h"
#include "internal/window_record.h"
#include "runtime/err_report.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

bool g_reporting = false;

// Reports may nest: an e_destroy handler that runs during a report can fail in turn, and the
// outer report keeps events away until it ends itself.
void report_error(int code) {
  const bool outer = g_reporting;
  g_reporting = true;
  TaskData* t = task();
  const ErrorHandler eh = attributes().error_handler;
  try {
    if (eh && t && t->task_window != 0 && !t->task_destroyed)
      eh(code);
    else
      ERR_ReportLevel1(code);
  } catch (const RunExit& e) {
    g_reporting = outer;
    end_run(e.code());
  } catch (...) {
    // A failure of the report itself is not reported again.
  }
  g_reporting = outer;
}

// Raises `code` so that the run-time values (flag, exit code, position) are set, then reports.
void report_raised(int code) {
  try {
    RUN_Error(code);
  } catch (const RunError& e) {
    report_error(e.code());
  }
}

// Runs body; true when it returned normally.
bool trapped(const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const RunError& e) {
    report_error(e.code());
  } catch (const RunExit& e) {
    TaskData* t = task();
    if (!t) throw;  // no loop to leave: the caller is the goal itself
    end_run(e.code());
  } catch (const std::bad_alloc&) {
    report_raised(errcode::kLayerMemory);
  } catch (const std::exception&) {
    report_raised(errcode::kUnexpectedException);
  }
  return false;
}

// Calls one handler; false when it ended by an error or an exit (the event then has no result).
bool call(EventHandler h, Window win, const Event& ev, std::optional<long>& out) {
  out.reset();
  if (!h) return true;
  return trapped([&] { out = h(win, ev); });
}

}  // namespace

bool delivery_blocked() {
  const TaskData* t = task();
  return g_reporting || (t && t->pending_exit.has_value());
}

Delivery deliver(Window win, const Event& ev) {
  // e_destroy passes the block: a window's handlers keep records of it that must go with it.
  if (delivery_blocked() && !std::holds_alternative<e_destroy>(ev)) return {};
  WindowRecord* r = find_record(win);
  if (!r) return {};
  if (r->dying && !std::holds_alternative<e_destroy>(ev)) return {};

  EventHandler first = nullptr;
  EventHandler second = nullptr;
  if (r->subclass_handler) {
    first = r->subclass_handler;
  } else {
    switch (r->kind) {
      case wk_Task: case wk_TopLevel: case wk_Child: case wk_Custom:
        first = r->second_handler;
        second = r->handler;
        break;
      case wk_ModalDialog: case wk_ModelessDialog:
        second = r->handler;
        break;
      default:
        return {};  // controls report to their parent through e_control
    }
    if (!first && !second) return {true, 0};
  }

  std::optional<long> res;
  if (!call(first, win, ev, res)) return {};
  if (first && res) return {true, *res};
  if (second) {
    if (!call(second, win, ev, res)) return {};
    if (res) return {true, *res};
  }
  return {};
}

bool run_trapped(const std::function<void()>& body) { return trapped(body); }

void end_run(int exit_code) {
  TaskData* t = task();
  if (!t) return;
  if (!t->pending_exit) t->pending_exit = exit_code;
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->done(QDialog::Rejected);
  }
  if (t->loop) t->loop->exit(0);
}

}  // namespace gui_detail
