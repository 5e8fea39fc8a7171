// Files dropped from other programs (a file manager, say) on windows and controls of the layer.
// Each window or control takes them only once the program asked for it. A drop is reported
// after the toolkit has finished it, with the paths of the dropped local files (other dropped
// things are not taken), in the host's form as cp1251 text, as dlg_GetFileName gives paths:
//   - to a window with a handler (task, top-level, child, dialog, custom) as e_dropfiles(Point,
//     Files) to its own handler, the point in its client coordinates;
//   - from a control as e_control(Id, Kind, Control, dropfiles(Files)) to its parent.
#pragma once

#include "layer/types.h"

// Whether the window or control takes dropped files (from the start it takes none). Files
// dropped on a child that takes no drops (a control made without this) reach the window; a text
// field keeps taking dropped text as before. The screen: 6001.
void win_AcceptFiles(Window win, bool accept);
bool win_AcceptsFiles(Window win);
