// Enabling, checking and redrawing the items of a window's own menu (task, top-level and dialog
// windows), and adding and taking out items while the program runs. 6001 for other kinds, 6402
// for a window without a menu, 6403 for an item that is not found.
#pragma once

#include <string>

#include "layer/types.h"
#include "layer/window.h"

void menu_Enable(Window win, int tag, bool enable);
void menu_Enable(Window win, const std::string& item_text, bool enable);
void menu_Check(Window win, int tag, bool check);
// Redraws the window's menu bar (after a batch of menu_Enable calls).
void menu_Update(Window win);

// Adds the command item `tag` with `text` (enabled) to the window's own menu directly after the
// first command item tagged `after_tag`, in the same pop-up; 6403 when no item has that tag.
void menu_InsertItem(Window win, int after_tag, int tag, const std::string& text);
// Takes every command item tagged `tag` out of the window's own menu; none is nothing. An item
// may take itself out while its command is being carried out.
void menu_DeleteItem(Window win, int tag);

// Alignment of a pop-up menu to its point: the point is the menu's top left, top centre or top
// right corner.
enum PopUpAlign : int { align_Left = 0, align_Center = 1, align_Right = 2 };
// Shows `menu` as a pop-up at `at` (the window's client coordinates) and returns when it has
// closed; a chosen command reaches the window as e_menu(Tag, Shift) when the loop gets back.
// A missing menu resource is 6053, an empty list 6004; no_menu shows nothing.
void menu_PopUp(Window win, const Menu& menu, Point at, int align);
