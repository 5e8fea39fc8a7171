// The printed table of records: its columns (the fields the field table prints, with their
// captions, shares of the width and alignments, in the table's order) and the cells of a record.
// The layer lays the table out on pages (layer/print.h); this says only what it holds.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/book_fields.h"

struct КолонкаПечатнойТаблицы {
  std::string название;
  int ширина = 0;
  Выравнивание выравнивание = Выравнивание::влево;
};
std::vector<КолонкаПечатнойТаблицы> колонки_печати(const ТаблицаПолей& table = поля_книги());

// The record's cells, one for each column: the full texts, a value without a display word empty.
void ячейки_печати(const ЗаписьБазы& record, std::vector<std::string>& cells, const ТаблицаПолей& table = поля_книги());

// A column of a list window's printed table: a field of the field table, or (no field) who has the
// book; its caption, share and alignment; and the text it is never narrower than, the longest word
// of its cells (so that a code, a year, an ISBN or a call number is never broken across lines).
struct КолонкаПечатиСписка {
  const ПолеКниги* поле = nullptr;  // none: who has the book (lending.h: кто_на_руках)
  КолонкаПечатнойТаблицы печать;
  std::string неразрывно;
};

// The columns of a list window's printed table: Код, Автор and Наименование always, then each
// column the user shows in the list's table view (`chosen`: their captions, list_table.h), in
// the table's order, who has the book last. A field without a column of the printed table gets a
// share of its list line's width or its caption's, at least 6 characters; who has the book, 20.
std::vector<КолонкаПечатиСписка> колонки_печати_списка(const std::vector<std::string>& chosen,
                                                      const ТаблицаПолей& table = поля_книги());

// The record's cells in `columns`; `на_руках` says who has each book out (by code).
void ячейки_печати_списка(const ЗаписьБазы& record, const std::vector<КолонкаПечатиСписка>& columns,
                          const std::unordered_map<std::int32_t, std::string>& на_руках,
                          std::vector<std::string>& cells);

// Each column's неразрывно: the longest word (blank-separated) of its cells over `records`; words
// longer than 20 letters may be broken, not to squeeze the other columns for them.
void слова_колонок(std::vector<КолонкаПечатиСписка>& columns, const std::vector<ЗаписьБазы>& records,
                   const std::unordered_map<std::int32_t, std::string>& на_руках);
