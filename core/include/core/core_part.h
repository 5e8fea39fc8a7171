// The core's part of the process state, registered with the runtime (run.h): its reset empties
// the catalogue's sections and the codes list, forgets what is known of the start files, puts
// the working folder's files back as the storage, and forgets the history of changes and the
// subscribers of the change path, with what it knew of the other desks.
#pragma once

// Registers the core's part with the runtime; later calls change nothing. RUN_ResetParts then
// resets the core too.
void core_RegisterPart();
