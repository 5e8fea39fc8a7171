// The commands of "Выдача": issue a book, take one back, the readers, the overdue loans and a
// book's history of loans; the list window's "Выдать…" and "Принять" for its selected book; the
// loan period of "Настройки"; the help line's word on overdue loans at the start. Each change
// goes through the change path (catalogue_changes.h), so undo and redo cover it.
#pragma once

#include "layer/window.h"

// Issues a book: from a list window its selected book, otherwise the book the user names (its
// code, as a scanner types it and Enter, or words of its author and title); then the reader,
// found by name or group or added in place; then the due date (today plus the loan period).
// A book whose copies are all out is refused with who has them and until when. Whether it was
// issued.
bool выдать_книгу(Window окно);
// Takes a book back: from a list window its selected book, otherwise the book named by its code;
// shows the reader, the dates and the days overdue, and asks. Whether it was taken back.
bool принять_книгу(Window окно);
// The readers: find by name or group, add, edit, delete (not while the reader has books out),
// each reader's books out and history.
bool показать_читателей();
// The overdue loans, the most overdue first; printed, as PDF or as CSV on request.
bool показать_должников();
// The loans of a book the user names, in the order of issue.
bool показать_историю_выдач();
// "База" / "Статистика…": the catalogue's statistics as charts with their numbers, each one saved
// as PNG or PDF on request.
bool показать_статистику();
// The loan period in days ("Настройки" / "Срок выдачи…").
bool задать_срок_выдачи();
// The help line of the task window says how many loans are overdue today (nothing when none).
void сообщить_о_должниках(Window task);
