// Shared steps of making windows: toolkit window flags from a window's style, and showing a new
// window as its flags ask (visible, maximized, minimized). Showing runs handlers (size, move,
// focus, activation); each step looks the window up again and stops once it is gone.
#pragma once

#include <Qt>

#include "internal/window_record.h"

namespace gui_detail {

// Flags for a frame (a top-level frame, or an MDI sub-window when `sub_window`).
Qt::WindowFlags frame_window_flags(const WindowStyle& s, bool sub_window = false);
void show_new_window(Window win, bool maximized, bool minimized);
// The end of making a top-level or child window after its e_create: shown, and a visible MDI
// child activated with the keyboard focus and its menu in the task window's bar.
void show_created_window(Window win, bool maximized, bool minimized, bool mdi_child);

}  // namespace gui_detail
