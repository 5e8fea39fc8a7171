// The program's side of the change path (core/change_path.h): a command applies its operation
// here, and the user is told in a message box why a change was not done when there is something
// to tell: a file the host refused (which, why, what to do) or an undo step that was dropped.
#pragma once

#include <string_view>

#include "core/change_path.h"

// Applies the operation made in the window `source` (0: none) and tells the user why it was not
// done, under the title of its kind ("Сохранение", "Настройки", "Отмена изменения", "Повтор
// изменения"); whether it was done. The card font counts as done when its file could not be
// written: it stays chosen for the run.
bool изменить(const Операция& operation, ИсточникИзменения source = 0);
// Tells the user why a change was not done, when the outcome says why.
void сообщить_итог(const ИтогИзменения& outcome, std::string_view title);
