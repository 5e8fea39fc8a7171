// Periodic timers that deliver e_timer(TimerId) to a window's handler.
#pragma once

#include <cstdint>

#include "layer/types.h"

// Starts a timer of `interval_ms` for the window; its id is one more than the largest id in the
// timer table, and at least 900. 6009 before the task window exists, 6121 when refused.
std::int32_t timer_Set(Window win, std::int32_t interval_ms);
// Stops the timer whose id has the same low 16 bits. An unknown id is run-time error 6120 (none
// when there is no timer table).
void timer_Kill(std::int32_t timer_id);
