// The timer table: timer_Set, timer_Kill and the delivery of e_timer. Ids are one more than the
// largest id in the table and at least 900; a killed timer's entry is free (id 0) again.
#include "layer/timer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimerEvent>
#include <algorithm>

#include "internal/dispatch.h"
#include "internal/lifecycle.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

constexpr std::int32_t kFirstTimerId = 900;

class TimerHost : public QObject {
 protected:
  void timerEvent(QTimerEvent* ev) override {
    TaskData* t = task();
    if (!t) return;
    for (const TimerEntry& e : t->timers) {
      if (e.id == 0 || e.native_id != ev->timerId()) continue;
      const Window w = e.win;
      const std::int32_t id = e.id;
      run_trapped([&] { deliver(w, e_timer{id}); });
      return;
    }
  }
};

QPointer<TimerHost>& the_host() {
  static QPointer<TimerHost> h;
  return h;
}

TimerHost* host() {
  QPointer<TimerHost>& h = the_host();
  if (!h) {
    h = new TimerHost;
    h->setParent(QCoreApplication::instance());
  }
  return h;
}

}  // namespace

std::int32_t timer_Set(Window win, std::int32_t interval_ms) {
  checked_record(win);
  TaskData* t = task();
  if (!t) RUN_Error(errcode::kNoTimerTable);
  const int native = host()->startTimer(std::max<std::int32_t>(0, interval_ms));
  if (native == 0) RUN_Error(errcode::kTimerRefused);
  std::int32_t id = kFirstTimerId;
  for (const TimerEntry& e : t->timers)
    if (e.id != 0) id = std::max(id, e.id + 1);
  const TimerEntry entry{id, win, native};
  auto free_slot = std::find_if(t->timers.begin(), t->timers.end(), [](const TimerEntry& e) { return e.id == 0; });
  if (free_slot != t->timers.end())
    *free_slot = entry;
  else
    t->timers.push_back(entry);
  return id;
}

void timer_Kill(std::int32_t timer_id) {
  TaskData* t = task();
  if (!t) return;
  for (TimerEntry& e : t->timers) {
    if (e.id == 0 || (e.id & 0xFFFF) != (timer_id & 0xFFFF)) continue;
    if (e.native_id != 0) host()->killTimer(e.native_id);
    e = TimerEntry{};
    return;
  }
  RUN_Error(errcode::kUnknownTimer);
}

namespace gui_detail {

void timers_window_gone(Window win) {
  TaskData* t = task();
  if (!t) return;
  for (TimerEntry& e : t->timers) {
    if (e.id == 0 || e.win != win) continue;
    if (e.native_id != 0) host()->killTimer(e.native_id);
    e.native_id = 0;
    e.win = 0;
  }
}

void stop_all_timers() { delete the_host().data(); }  // its timers die with it

}  // namespace gui_detail
