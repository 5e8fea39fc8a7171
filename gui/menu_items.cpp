// menu_InsertItem and menu_DeleteItem: command items added to and taken from a window's own menu
// while the program runs, for lists that change (the last files opened, say).
#include "internal/menu_model.h"
#include "layer/menu.h"
#include "runtime/run_error.h"

using namespace gui_detail;

void menu_InsertItem(Window win, int after_tag, int tag, const std::string& text) {
  if (!menu_of(win).insert_command_after(after_tag, tag, text)) RUN_Error(errcode::kMenuItemNotFound);
}

void menu_DeleteItem(Window win, int tag) { menu_of(win).remove_commands(tag); }
