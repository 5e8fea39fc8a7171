// The user's desktop as the program's windows and file choosers need it: the user's own folders
// and the part of the screen that windows may take.
#pragma once

#include <string>

#include "layer/types.h"

// The user's folders, as the desktop names them (the user's folder settings, in the language of
// the desktop), for file choosers to start in.
enum UserFolder : int { uf_Home = 0, uf_Documents = 1, uf_Pictures = 2 };

// The folder's path (the host's form as cp1251 text, as dlg_GetFileName takes it; no trailing
// "/") when that folder exists; else the home folder; empty when not even that is known. Any
// other `folder` is run-time error 6010.
std::string uix_GetUserFolder(int folder);

// The part of the screen showing the window that windows may take (without the desktop's panels
// and docks), in screen coordinates; for 0, the screen, or a window not shown yet, the primary
// screen's. Empty when there is no screen.
Rect uix_GetWorkArea(Window win);
