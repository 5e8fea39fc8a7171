// Help on the window the user works in: F1 and "&Local" open the help file at the topic of the
// active window or dialog (task window, list window, data entry, categories, settings). A
// command names the topic of the dialogs it runs in its entry of the command table (commands.h);
// a dialog names its own while it runs (ТемаСправки, session.h).
#pragma once

#include <string_view>

#include "runtime/codepage.h"

inline constexpr std::string_view файл_справки = "фолиарх.hlp"_cp;

// Opens the help at the topic of the dialog that runs, else of the window with the focus: a
// list window's, else the task window's. Also the program's answer to F1 in a standard dialog.
void справка_по_окну();
// "&Contents", Ctrl+F1 and the toolbar's Help: the help file at its contents.
void справка_содержание();
