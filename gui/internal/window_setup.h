// Shared steps of making windows: toolkit window flags from a window's style, and showing a new
// window as its flags ask (visible, maximized, minimized).
#pragma once

#include <Qt>

#include "internal/window_record.h"

namespace gui_detail {

// Flags for a frame (a top-level frame, or an MDI sub-window when `sub_window`).
Qt::WindowFlags frame_window_flags(const WindowStyle& s, bool sub_window = false);
void show_new_window(WindowRecord& r, bool maximized, bool minimized);

}  // namespace gui_detail
