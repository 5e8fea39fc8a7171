// The commands of "Выдача": issue a book, take one back, the readers, the overdue loans and a
// book's history of loans; the list window's "Выдать…" and "Принять" for its selected book; the
// loan period of "Настройки"; the help line's word on overdue loans at the start. Each change
// goes through the change path (catalogue_changes.h), so undo and redo cover it.
#pragma once

#include "layer/window.h"

// Issues a book through the issue dialog (lending_dialogs.h): from a list window its selected
// book filled in. Whether it was issued.
bool выдать_книгу(Window окно);
// Takes a book back through the return dialog: from a list window its selected book filled in.
// Whether it was taken back.
bool принять_книгу(Window окно);
// The readers window (lending_windows.h), opened or brought to the top.
bool показать_читателей();
// The overdue window, opened or brought to the top.
bool показать_должников();
// The loan history window: a book found by code, ISBN or words, and every loan of it.
bool показать_историю_выдач();
// "База" / "Статистика…": the catalogue's statistics as charts with their numbers, each one saved
// as PNG or PDF on request.
bool показать_статистику();
// The loan period in days ("Настройки" / "Срок выдачи…").
bool задать_срок_выдачи();
// The help line of the task window says how many loans are overdue today (nothing when none).
void сообщить_о_должниках(Window task);
