// The program's side of the change path (core/change_path.h): a command applies its operation
// here, and the user is told in a message box, under the command's title, why a change was not
// done when there is something to tell.
#pragma once

#include <string_view>

#include "core/change_path.h"

// Applies the operation made in the window `source` (0: none); whether it was done.
bool изменить(const Операция& operation, std::string_view title, ИсточникИзменения source = 0);
// Tells the user why a change was not done, when the outcome says why.
void сообщить_итог(const ИтогИзменения& outcome, std::string_view title);
