// The find filter's pure part: the search form of a record (the fields the field table marks as
// searched), the words of a find field's text, whether a form holds them all, and the filter of
// one list as data — the list's lines in their order with the search form of each line's record,
// the words, and which lines are shown. A window shows what the filter says (app/list_filter.h);
// nothing here draws.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_fields.h"
#include "core/list_line.h"

// The search form of a record: each searched field's value in its search form (CONV_SearchForm),
// in the table's order, kept apart so that no word matches across two of them.
std::string форма_поиска(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());
// The same appended to `out`.
void добавить_форму_поиска(std::string& out, const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());

// One line of the list and the search form of its record.
struct СтрокаПоиска {
  std::string строка;
  std::string форма;
};

// The line of every record that has one, with its search form, in the list's order; equal lines
// in table order, where adding them one by one at the end of a sorted list box would place them.
std::vector<СтрокаПоиска> строки_каталога();

// Whether every word occurs in the search form `form`. No words: every form matches.
bool подходит(std::string_view form, const std::vector<std::string>& words);

// The search forms of the blank-separated words of a find field's text.
std::vector<std::string> слова_поиска(std::string_view text);

// The filter of one list.
struct ПоискСписка {
  std::vector<std::string> строки;      // the list without a filter, in the list's order
  std::string формы;                    // the search forms of the lines, one after another
  std::vector<std::size_t> начала;      // line i's form is формы[начала[i], начала[i + 1])
  std::vector<std::size_t> показанные;  // the positions in `строки` of the lines shown, in order
  std::vector<std::string> слова;       // the search forms of the words of the field; none: no filter

  // Line i's search form.
  std::string_view форма(std::size_t i) const;
  // The lines (in the list's order) become the list; none of them is shown until отобрать.
  void задать_строки(std::vector<СтрокаПоиска> lines);
  // The line of every record of the catalogue, in the list's order (as строки_каталога gives
  // them), becomes the list; none of them is shown until отобрать.
  void задать_каталог();
  // The lines the words select become the lines shown; they are returned, in order.
  std::vector<std::string> отобрать();
  // The same, the lines returned as views of the list's own (valid until the list changes), so
  // that a list box takes them without a copy of each made on the way.
  std::vector<std::string_view> отобрать_виды();
  // The position in the list of the first line equal to `line`.
  std::optional<std::size_t> найти(std::string_view line) const;
  // Where line i stands among the lines shown; nothing when it is not shown.
  std::optional<std::size_t> место_показа(std::size_t i) const;
  // Takes line i out of the list (its line, its search form, its place among the shown).
  void убрать(std::size_t i);
  // Puts a line in at its place in the list's order, after the lines equal to it (where a sorted
  // list box puts a line added at the end), and shows it when the words select it. Returns
  // whether it is shown.
  bool вставить(СтрокаПоиска line);
};
