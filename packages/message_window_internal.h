// Writing into the message window, shared by the package's operations and its handler.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "layer/types.h"

namespace msg_detail {

// The message window, when it still exists (facts left by a run that ended without destroying
// it are cleared).
std::optional<Window> live_window();
// The screen device's text: at once when it holds a line feed (after the partial line waiting
// in the buffer, whose timer stops), else into the buffer with the flush timer started.
void out_str(std::string_view text);
// Appends to the window under the line limit (nothing without one); in the show-at-once mode
// pending events run afterwards.
void add_str(Window win, const std::string& text);

}  // namespace msg_detail
