// The table of records that the export writes and the import reads: its columns are the fields of
// the field table (book_fields.h), in its order, under their captions; the text of a record in
// each; and the CSV table and the HTML page of records as the export writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/book_fields.h"
#include "core/catalogue_facts.h"
#include "runtime/codepage.h"

// The byte-order mark that begins a UTF-8 table.
inline constexpr std::string_view kМеткаПорядкаБайтов = "\xEF\xBB\xBF";

// The text of a record in a field's column (cp1251): a text as it is, an integer as its display
// word ("Есть"/"Нет", "Твёрдый"/"Мягкий") or, without one, in decimal.
std::string значение_колонки(const ЗаписьБазы& record, const ПолеКниги& field);

// The CSV text (UTF-8 bytes with a byte-order mark, commas, CR LF) of the records, in the order
// given, under a row of column names. A value a spreadsheet would take for a formula is written
// behind an apostrophe (добавить_значение_csv); a line break inside a value stays in it, quoted.
std::string записи_в_csv(const std::vector<ЗаписьБазы>& records, const ТаблицаПолей& table = поля_книги());
// The self-contained HTML page (UTF-8 bytes) of the records, in the order given: one table.
std::string записи_в_html(const std::vector<ЗаписьБазы>& records, const ТаблицаПолей& table = поля_книги());

// Whether a file of that name gets the page: its name ends in ".html" or ".htm" (any letter case).
bool имя_страницы(std::string_view file_name);
// The text the export writes into a file of that name: the page or the table.
std::string текст_экспорта(const std::vector<ЗаписьБазы>& records, std::string_view file_name);

// The whole catalogue in the order of export: by code, records of one code in table order.
std::vector<ЗаписьБазы> каталог_для_экспорта();
