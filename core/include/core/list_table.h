// The list window's table as data: its columns (the fields the field table marks for the table,
// under their captions), a record's text in a column, and the order of its rows by a column.
// A field marked for the table in the field table becomes a column with no other change. The
// window that shows the table is app/list_table.h; nothing here draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/book_fields.h"

// The table's columns: the fields marked for it, in the field table's order.
std::vector<const ПолеКниги*> поля_таблицы(const ТаблицаПолей& table = поля_книги());

// A record's text in the column of `field`, whole (a value without a display word is empty).
std::string текст_ячейки(const ПолеКниги& field, const ЗаписьБазы& record);

// The order of two records by `field`: an integer without display words by its value; a text, or
// a display word, in the order of the list's lines (PSTR_ListCompare: case-insensitive, cp1251
// letters in the alphabet's order). Negative, zero or positive.
int сравнить_по_полю(const ПолеКниги& field, const ЗаписьБазы& a, const ЗаписьБазы& b);

// Sorts `rows` (each the index of a record in `records`) by `field`, stably: rows of equal values
// keep the order they had. Descending is the ascending order turned round for unequal values,
// equal ones still in their previous order.
void упорядочить_строки(std::vector<std::uint32_t>& rows, const std::vector<const ЗаписьБазы*>& records,
                        const ПолеКниги& field, bool ascending);
