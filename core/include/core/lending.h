// Lending without windows: the dates of the loans, the copies of a book, who has a book and until
// when, a reader's loans, the overdue loans with their readers and books, and the problems of the
// loans' file (a book or reader never given, a date that is not a date, a due date before the
// issue). The tables are catalogue_facts.h's; the changes (issue, return, readers) go through the
// change path (change_path.h).
//
// Every function that needs the day takes it: the program passes today (сегодня), a test the day
// it means.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "core/book_details.h"
#include "core/catalogue_facts.h"

using День = std::chrono::sys_days;

// A loan's date as the files keep it, "ГГГГ-ММ-ДД"; nothing for a text that is not such a date
// of the calendar (2026-02-30, 2026-1-5, "").
std::optional<День> дата_из_текста(std::string_view text);
// The date as the files keep it.
std::string текст_даты(День день);
// The date as the user reads it, "ДД.ММ.ГГГГ"; a text that is not a date stays as it is.
std::string показ_даты(std::string_view text);
// Today, on the computer's clock and in its time zone.
День сегодня();
// A date as the user types it, "ДД.ММ.ГГГГ" (blanks around it allowed) or as the files keep it.
std::optional<День> дата_из_ввода(std::string_view text);
// The due date typed for a loan issued on `день`: the day, or why it cannot be one (cp1251: not a
// date, or before `день`).
std::variant<День, std::string> срок_из_ввода(std::string_view text, День день);

// The loan period: the days from the issue to the due date, 14 unless the user changed it
// ("Настройки"). A rule of the library, not of one desk: kept in the catalogue's folder
// ("СрокВыдачи.pbs", срок_выдачи_дней), read when the catalogue opens and by every desk, changed
// through the change path (ЗадатьСрокВыдачи). A kept value below 1 counts as the usual period.
inline constexpr int срок_выдачи_обычный = 14;
int срок_выдачи();

// Why the reader cannot be deleted now: the books the reader has out, each with its due date
// ("Читателя «Петров Пётр» удалить нельзя: у него на руках книги. Сначала примите их:\nкнига 5
// «Сад», до 21.12.2026"); nothing when the reader has none.
std::optional<std::string> читателя_нельзя_удалить(const Читатель& читатель);

// How many readers may have a book out at once: its copies, `экземпляров_книги` (book_details.h).

// The reader of a code; nothing when none has it (never given, or deleted).
std::optional<Читатель> читатель_по_коду(std::int32_t код);
// The reader's name as a line of the card shows it: the first word whole, each other word by its
// first letter and a dot ("Иванова Анна" → "Иванова А."). The name as it is when it has one word.
std::string краткое_имя(std::string_view фио);

// The books a lending field names: the book of the code typed (a scanner types one), else the
// books of the ISBN typed, else those whose searched fields hold every word typed, as the find
// field has it; in the list's order. Nothing for a blank text. At most `не_больше` books: the first
// found in the catalogue's order (a word that most books hold is narrowed by the next one).
std::vector<ЗаписьБазы> книги_по_запросу(std::string_view текст, std::size_t не_больше = SIZE_MAX);
// The readers whose name or group holds every word of `текст` (every reader for a blank text), by
// name, then by code.
std::vector<Читатель> читатели_по_запросу(std::string_view текст);
// How many books each reader has out now, by the reader's code (a reader with none is absent).
std::unordered_map<std::int32_t, int> книг_на_руках_у_читателей();

// The loans of a book that is out now (one per copy out), in the order of issue.
std::vector<Выдача> выдачи_на_руках(std::int32_t код_книги);
// Every loan of a reader, in the order of issue (the books out and the history alike).
std::vector<Выдача> выдачи_читателя(std::int32_t код_читателя);
// Every loan of a book, in the order of issue.
std::vector<Выдача> выдачи_книги(std::int32_t код_книги);
// Who has the book and until when, for the card and the list's table: "На руках: Иванова А., до
// 21.12.2026" (each copy out after a semicolon); empty when the book is on the shelf.
std::string строка_на_руках(std::int32_t код_книги);
// The same without the words "На руках: ", as the list's table shows it in its column of that
// caption: "Иванова А., до 21.12.2026"; empty when the book is on the shelf.
std::string кто_на_руках(std::int32_t код_книги);
// кто_на_руках of every book out, by the book's code, made in one pass over the loans and one over
// the readers (a table of a hundred thousand books shows and sorts them without a pass a book).
std::unordered_map<std::int32_t, std::string> кто_на_руках_по_книгам();

// The book as the lending messages name it: "книга 12 «Каштанка»" (the code alone for a book no
// longer in the catalogue).
std::string название_книги(std::int32_t код_книги);
// Why the book cannot be issued now: every copy out, with who has them and until when ("книга 3
// «Каштанка» на руках: Иванова Анна — до 21.12.2026"); nothing when a copy is on the shelf.
std::optional<std::string> все_экземпляры_на_руках(std::int32_t код_книги);

// The days a loan is overdue on `день`: past its due date while it is out, or past it on the day
// it came back; 0 when not late (or its due date is not a date).
int дней_просрочки(const Выдача& выдача, День день);

// An overdue loan with what the list of overdue loans shows of it. A reader or book no longer in
// the catalogue shows its code alone.
struct Долг {
  Выдача выдача;
  int дней = 0;
  std::string фио, группа, телефон;
  std::string автор, наименование;
};
// The loans out whose due date is past on `день`, the most overdue first (then by due date, by
// reader's name, by the book's code).
std::vector<Долг> должники(День день);
// The columns of the overdue list as it is shown, printed and exported, and one loan's cells.
const std::vector<std::string>& колонки_должников();
std::vector<std::string> ячейки_долга(const Долг& долг);
// The overdue list as a CSV table (a header row, then a row per loan; CR LF).
std::string csv_должников(const std::vector<Долг>& долги);
// How many loans are out past their due date on `день`.
std::size_t число_просроченных(День день);

// A problem of one loan: the loan at `номер` (from 1) of the loans' table, which is its line in a
// file that loaded whole, and why (cp1251).
struct ЗамечаниеВыдачи {
  std::size_t номер = 0;
  std::string причина;
  bool operator==(const ЗамечаниеВыдачи&) const = default;
};
// What is wrong with one loan, in the catalogue as it is (its books, readers and the codes given):
// a book or a reader whose code was never given (a code given and then deleted is history, not a
// problem), an issue, due or return date that is not a date, a due date or a return before the
// issue. Empty when nothing is.
std::vector<std::string> замечания_выдачи(const Выдача& выдача);
// The problems of every loan, in the table's order.
std::vector<ЗамечаниеВыдачи> замечания_выдач();
// What the user is told at the opening when loans have problems (the lines are kept as they are);
// nothing when none has.
std::optional<std::string> сообщение_о_выдачах();

// The code of a new reader: past the highest code ever given to one (наибольший_код_читателя and
// the readers' codes; 1 for the first), which becomes the highest given. A code beyond the signed
// 32-bit range raises 1031.
std::int32_t новый_код_читателя();
// The highest code given to a reader or a book: nothing when none was.
std::optional<std::int32_t> наибольший_данный_код_читателя();
