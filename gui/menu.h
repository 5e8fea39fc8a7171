// Enabling, checking and redrawing the items of a window's own menu (task, top-level and dialog
// windows). 6001 for other kinds, 6402 for a window without a menu, 6403 for an item text that
// is not found.
#pragma once

#include <string>

#include "types.h"

void menu_Enable(Window win, int tag, bool enable);
void menu_Enable(Window win, const std::string& item_text, bool enable);
void menu_Check(Window win, int tag, bool check);
// Redraws the window's menu bar (after a batch of menu_Enable calls).
void menu_Update(Window win);
