// The notices of the text field with the keyboard focus (layer/clipboard.h), wired up for one
// run of uix_Init.
#pragma once

#include "internal/task_data.h"

namespace gui_detail {

// Starts the notices of the run: focus moves, selection changes of the focused text field and
// clipboard changes call the program's TextFocusHandler. They end when t.text_watch is deleted.
void watch_text_focus(TaskData& t);

}  // namespace gui_detail
