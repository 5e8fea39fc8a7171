// The printed table of records: its columns (the fields the field table prints, with their
// captions, shares of the width and alignments, in the table's order) and the cells of a record.
// The layer lays the table out on pages (layer/print.h); this says only what it holds.
#pragma once

#include <string>
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
