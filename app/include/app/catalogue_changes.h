// The program's side of the change path (core/change_path.h): a command applies its operation
// here, and the user is told in a message box why a change was not done when there is something
// to tell: a file the host refused (which, why, what to do), an undo step that was dropped, a
// change another desk made impossible, a catalogue that cannot be had. And the watch that keeps
// the catalogue current with what other desks store.
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

// The watch (about once a second, from the task window's timer; and before a check that must see
// what other desks stored): the catalogue brought up to date with what they stored
// (освежить_каталог). What it has to tell (a folder gone or back, a file that did not load whole)
// is shown once no box or dialog runs: the user is not interrupted in one, and a later run shows
// what waits.
void следить_за_каталогом();
