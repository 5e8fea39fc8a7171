// Destruction, close requests and the routing of menu commands and menu initialisation.
#pragma once

#include "layer/events.h"
#include "layer/types.h"

namespace gui_detail {

// Destroys the window and its descendants (for the task window: every window of the layer):
// the window is hidden, e_destroy reaches the window and then each descendant (also while
// delivery is blocked, and also a window made on one of them meanwhile), their timers stop, the
// records go and the widgets are deleted when the loop gets back. Destroying the task window
// ends the message loop. A window whose destruction has begun is left alone.
void destroy_window(Window win);
// Close request: e_closerequest; when the handler fails the window is destroyed (the MDI task
// window first asks each MDI child, and goes only when none is left).
void close_request(Window win);
// A menu command or accelerator of `owner`'s menu: on the MDI task window 9201..9205 tile,
// cascade, arrange icons, activate the next child and close the active child; other commands
// go to the active MDI child when it shows its own menu, else to the owner as e_menu.
void route_command(Window owner, int tag);
void route_initmenu(Window owner);
// Shows, in the task window's bar, the menu of the active MDI child or the task menu.
void refresh_task_menu_bar();
// Places the MDI client inside the task window's client area, within the four margins.
void fit_mdi_client();
// Processes an event that win_PostEvent queued.
void process_posted(Window win, const Event& ev);
// Stops the timers of a window that is gone (their entries stay until timer_Kill).
void timers_window_gone(Window win);
// Stops every timer of the process, also one a run left running (the layer's reset).
void stop_all_timers();

}  // namespace gui_detail
