// The task data of a run (from uix_Init until the task window is gone) and the layer's
// attributes, which live for the whole process so that they can be set before uix_Init.
#pragma once

#include <QPointer>
#include <cstdint>
#include <optional>
#include <vector>

#include "layer/clipboard.h"
#include "layer/help.h"
#include "layer/types.h"
#include "layer/uix.h"

class QEventLoop;
class QMdiArea;
class QMenu;

namespace gui_detail {

struct Attributes {
  bool mdi = false;
  bool three_d = false;
  bool suppress_change = false;
  bool erase_background = true;
  bool platform_validate = true;
  bool prn_raw = false;
  int margin_top = 0, margin_bottom = 0, margin_left = 0, margin_right = 0;
  ErrorHandler error_handler = nullptr;
  TextFocusHandler text_focus_handler = nullptr;
  HelpRequestHandler help_request_handler = nullptr;
};
Attributes& attributes();

struct TimerEntry {
  std::int32_t id = 0;  // 0: free
  Window win = 0;       // 0 once the window is gone (the entry stays until timer_Kill)
  int native_id = 0;    // 0 once stopped
};

struct TaskData {
  Window task_window = 0;
  QPointer<QMdiArea> mdi_client;
  QPointer<QMenu> window_list;   // the MDI window-list pop-up, shared by every MDI menu
  std::vector<Window> destroying;  // windows whose e_destroy is being delivered, innermost last
  Window active_modeless_dialog = 0;
  std::vector<Window> dialogs;     // open dialogs, oldest first
  std::vector<TimerEntry> timers;  // the timer table
  QEventLoop* loop = nullptr;      // the message loop of uix_Init
  std::optional<int> pending_exit; // a RunExit from a handler ends the run with this code
  bool task_destroyed = false;
  QPointer<QObject> text_watch;        // what the notices of the focused text field hang on
  bool notifying_text_focus = false;   // the program's TextFocusHandler runs
};

// The task data of the running uix_Init, or nullptr outside it.
TaskData* task();
void set_task(TaskData* t);

}  // namespace gui_detail
