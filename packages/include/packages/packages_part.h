// The packages' part of the process state, registered with the runtime (run.h): its reset entry
// forgets the toolbar package's records and action table, the dialog package's records and
// queued dialogs, and the message window package's facts.
#pragma once

// Registers the packages' part, and the layer's under it, with the runtime; later calls change
// nothing. RUN_ResetParts then resets the packages too.
void packages_RegisterPart();
