// The notices of the text field with the keyboard focus (layer/clipboard.h), wired up for one
// run of uix_Init.
#pragma once

#include <Qt>

#include "internal/task_data.h"

class QWidget;

namespace gui_detail {

// Starts the notices of the run: focus moves, selection changes of the focused text field and
// clipboard changes call the program's TextFocusHandler. They end when t.text_watch is deleted.
void watch_text_focus(TaskData& t);
// A window of the layer got the focus, for `reason`.
void focus_came(QWidget* w, Qt::FocusReason reason);
// A mouse press reached `clicked`, a window that a click gives no focus (win_SetClickFocus):
// the focus that the press moved to one of its ancestors goes back where it was.
void keep_focus_from_click(QWidget* clicked);

}  // namespace gui_detail
