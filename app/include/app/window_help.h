// Help on the window the user works in: F1 and "&Local" open the help file at the topic of the
// active window or dialog (task window, list window, data entry, categories, settings). A
// command that runs dialogs names their topic while they run.
#pragma once

#include <string_view>

#include "runtime/codepage.h"

inline constexpr std::string_view файл_справки = "фолиарх.hlp"_cp;

// While it lives, F1 in the dialogs that run opens the help at `тема` (0: changes nothing).
class ТемаСправки {
 public:
  explicit ТемаСправки(int тема);
  ~ТемаСправки();
  ТемаСправки(const ТемаСправки&) = delete;
  ТемаСправки& operator=(const ТемаСправки&) = delete;

 private:
  bool есть_;
};

// The topic of the dialogs a command of the task window runs (the categories, the settings);
// 0 for the other commands.
int тема_команды(int команда);

// Opens the help at the topic of the dialog that runs, else of the window with the focus: a
// list window's, else the task window's. Also the program's answer to F1 in a standard dialog.
void справка_по_окну();
