// How windows are shown now (minimised, maximised), and letting pending events run from inside
// a handler.
#pragma once

#include "layer/types.h"

// Whether the window (task, top-level or dialog window; for a child its own state) is shown
// minimised, or maximised, now. 6000 for a window that is not one of the layer.
bool win_IsMinimized(Window win);
bool win_IsMaximized(Window win);
// Runs the events waiting in the queue (posted events, timers, paints) and returns; does
// nothing while an e_erasebackground is being delivered.
void uix_ProcessPending();
