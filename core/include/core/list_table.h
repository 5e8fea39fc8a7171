// The list window's table as data: its columns (the fields the field table marks for the table,
// under their captions), a record's text in a column, and the order of its rows by a column.
// A field marked for the table in the field table becomes a column with no other change. The
// window that shows the table is app/list_table.h; nothing here draws.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_fields.h"

// The table's columns: the fields marked for it, in the field table's order.
std::vector<const ПолеКниги*> поля_таблицы(const ТаблицаПолей& table = поля_книги());

// A record's text in the column of `field`, whole (a value without a display word is empty).
std::string текст_ячейки(const ПолеКниги& field, const ЗаписьБазы& record);

// The column after the fields': who has the book out ("Иванова А., до 21.12.2026", as the card
// says after "На руках: ", lending.h: кто_на_руках), empty for a book on the shelf. Its caption is
// "На руках"; it is no field of the book (the exported and imported tables have no such column).
std::string_view название_колонки_на_руках();

// The order of two records by `field`: an integer without display words by its value; a text, or
// a display word, in the order of the list's lines (PSTR_ListCompare: case-insensitive, cp1251
// letters in the alphabet's order). Negative, zero or positive.
int сравнить_по_полю(const ПолеКниги& field, const ЗаписьБазы& a, const ЗаписьБазы& b);

// Sorts `rows` (each the index of a record in `records`) by `field`, stably: rows of equal values
// keep the order they had. Descending is the ascending order turned round for unequal values,
// equal ones still in their previous order.
void упорядочить_строки(std::vector<std::uint32_t>& rows, const std::vector<const ЗаписьБазы*>& records,
                        const ПолеКниги& field, bool ascending);

// The same with each row's record read by `read(row, record)` into one record whose texts keep
// their room (rows index 0..count-1): the keys are taken once, then sorted as above.
void упорядочить_строки(std::vector<std::uint32_t>& rows, std::size_t count,
                        const std::function<void(std::uint32_t, ЗаписьБазы&)>& read, const ПолеКниги& field,
                        bool ascending);

// Sorts `rows` stably by the texts `text(row)` gives, in the order of the list's lines, as a text
// column sorts (the column of who has the book).
void упорядочить_строки_по_тексту(std::vector<std::uint32_t>& rows, std::size_t count,
                                  const std::function<std::string_view(std::uint32_t)>& text, bool ascending);

// The catalogue's records as a table keeps them to show and sort its rows: each record's numbers
// and where its texts stand in one buffer of all the texts, ordered by code (records of one code
// in the order they came), kept current with the records taken out and put in. A hundred
// thousand records take about a third of the memory of the records themselves. The details stay
// in their own section (a record read from here carries none; its details are read by its code).
class ЗаписиТаблицы {
 public:
  // Every record of the catalogue table, in its place.
  void заполнить();
  // The first record equal to `record` in its eight fields goes; nothing when there is none.
  void убрать(const ЗаписьБазы& record);
  // `record` comes in after the records of its code.
  void добавить(const ЗаписьБазы& record);
  std::size_t size() const { return записи_.size(); }
  // The record of a list line: the one of its code (of several with that code, the one whose line
  // it is, else the first); none when no record has its code.
  std::optional<std::uint32_t> запись_строки(std::string_view line) const;
  // Record i (0..size-1) into `out`, whose texts keep their room; it carries no details.
  void прочитать(std::uint32_t i, ЗаписьБазы& out) const;
  std::int32_t код(std::uint32_t i) const { return записи_[i].код; }

 private:
  static constexpr std::size_t kТекстов = 5;  // author, title, category, kind, cover
  struct Запись {
    std::int32_t код = 0, диск = 0, переплет = 0;
    std::array<std::uint32_t, kТекстов + 1> начала{};  // text i is тексты_[начала[i], начала[i + 1])
  };
  Запись упаковать(const ЗаписьБазы& record);
  std::string_view текст(const Запись& з, std::size_t i) const;
  bool равна(const Запись& з, const ЗаписьБазы& record) const;
  // The buffer made again from the live records once most of it is texts of records gone.
  void уплотнить();

  std::vector<Запись> записи_;
  std::string тексты_;
  std::size_t ушло_байт_ = 0;  // texts of records gone, still in the buffer
};
