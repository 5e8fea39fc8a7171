// The lending windows, modeless beside the program's others: the readers (a find field over the
// readers' table with their books out, add, edit, delete, and the chosen reader's books out and
// history), the overdue loans (a table printed, written as PDF or as CSV) and a book's loan
// history. Each follows every change of the catalogue in place, this desk's and what other desks
// stored.
#pragma once

#include "core/changes.h"
#include "core/lending.h"
#include "layer/layer.h"

// Opens the readers window of the task window `task`, or brings the open one to the top.
Window win_читатели_Create(Window task);
std::optional<long> win_читатели_eh(Window win, const Event& ev);
// Opens the overdue window of `task`, or brings the open one to the top.
Window win_должники_Create(Window task);
std::optional<long> win_должники_eh(Window win, const Event& ev);

// Opens the loan history window of `task` (a book found by code, ISBN or words, and every loan of
// it), or brings the open one to the top.
Window win_история_Create(Window task);
std::optional<long> win_история_eh(Window win, const Event& ev);

// The overdue list on the printer, or written as a PDF (`pdf`) or a CSV table where the user
// chooses; a file that cannot be written is told. Whether it was done.
bool напечатать_должников(const std::vector<Долг>& долги);
bool вывести_должников(const std::vector<Долг>& долги, bool pdf);

// A change of the catalogue (a subscriber of the change path): the lending windows open show it.
void показать_изменения_выдачи(const Изменения& изменения);
