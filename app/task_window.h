// The task window's event handler.
#pragma once

#include "layer.h"

// Handles "Выход" (10033) by destroying the task window; fails for every other event so that
// the layer's default processing applies.
std::optional<long> task_win_eh(Window win, const Event& ev);
