// The lending dialogs: issuing a book (the book and the reader found as they are typed, a new
// reader added in place, the due date), taking a book back (its code as a scanner types it, the
// loan's reader, dates and days overdue), and a reader's card. Each change they make goes through
// the change path (catalogue_changes.h) as one step of undo.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/book_record.h"
#include "core/lending_records.h"
#include "layer/layer.h"

// The issue dialog of `parent`; `книга`, when given, is the book filled in (the list window's
// selected one). Whether a book was issued: a book with every copy out, a date that is not a date
// or a due date before today is refused with its reason and the dialog stays; Cancel changes
// nothing.
bool dlg_выдачи_Create(Window parent, std::optional<std::int32_t> книга);
std::optional<long> dlg_выдачи_eh(Window dlg, const Event& ev);

// The return dialog of `parent`; `книга`, when given, is the book filled in. Whether a book was
// taken back. A code that names no book out is told in the dialog itself.
bool dlg_возврата_Create(Window parent, std::optional<std::int32_t> книга);
std::optional<long> dlg_возврата_eh(Window dlg, const Event& ev);

// A reader's card under `заголовок`, filled from `читатель`: the card as typed (blanks around the
// fields taken away; the name must be given), or nothing when cancelled. Changes nothing.
std::optional<Читатель> dlg_читателя_Create(Window parent, const std::string& заголовок, const Читатель& читатель);
// A new reader typed in a reader's card (its name from `фио`) and entered through the change path:
// the reader as entered, with its code; nothing when cancelled or refused.
std::optional<Читатель> добавить_читателя(Window parent, const std::string& фио);

// ---- What the lending dialogs and windows share ----

// The row `i` of a table's rows, or nothing past them (a table may change between a paint and the
// next).
template <class T>
const T* ряд_таблицы(const std::vector<T>& ряды, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < ряды.size() ? &ряды[static_cast<std::size_t>(i)] : nullptr;
}
// Whether the event is the control `id` telling `Info` (modified, selchanged, activated).
template <class Info>
bool событие_элемента(const Event& ev, int id) {
  const auto* c = std::get_if<e_control>(&ev);
  return c && c->id == id && std::holds_alternative<Info>(c->info);
}
// The readers' table: ФИО, Группа, Телефон and the books out, and a reader's cell in it.
const std::vector<ListViewColumn>& колонки_читателей();
std::string ячейка_читателя(const Читатель& читатель, int column, int на_руках);
// The book's name at the head of a line: "Книга 2 «Капитанская дочка»".
std::string книга_в_начале(std::int32_t код);
// The table of the books a lending field found (Код, Автор, Наименование, Экземпляров, На руках),
// at most kКнигНеБольше of them (a word most books hold waits for the next one), and a book's cell
// in it (empty past the rows).
inline constexpr std::size_t kКнигНеБольше = 500;
const std::vector<ListViewColumn>& колонки_найденных_книг();
std::string ячейка_найденной_книги(const ЗаписьБазы* книга, int column);
// What a lending field's line says while no book is chosen: how many books it found (`найдено`),
// or that it found none for the words typed; nothing for an empty field or one book.
std::string о_найденных_книгах(std::size_t найдено, bool запрос_пуст);
// The columns of a lending table, each at least as wide as its caption in the table's font, and
// those of `колонки_дат` as wide as a date (a larger screen font would cut "Экземпляров" or
// "09.12.2026" at their fixed widths).
void задать_колонки(Window таблица, std::vector<ListViewColumn> колонки, std::initializer_list<int> колонки_дат = {});
