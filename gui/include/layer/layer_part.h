// The layer's part of the process state, registered with the runtime (run.h): its reset entry
// puts the window table, the pictures, the timers, the custom-control classes, the override
// cursor and the attributes back to their start.
#pragma once

// Registers the layer's part with the runtime (whose own part is always there, under it); later
// calls change nothing. RUN_ResetParts then resets the layer too; call that only while uix_Init is not running.
void uix_RegisterPart();
