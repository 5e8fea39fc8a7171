// The table of records that the export writes and the import reads: its columns in their order,
// the text of a record in each, and the CSV text of records as the export writes it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue_facts.h"
#include "runtime/codepage.h"

// The columns, in the order the export writes them; the import finds them by name.
enum class Колонка { код, автор, наименование, категория, вид, диск, переплёт, обложка };
inline constexpr std::array<std::string_view, 8> kКолонки = {
    "Код"_cp, "Автор"_cp, "Наименование"_cp, "Категория"_cp, "Вид"_cp, "Диск"_cp, "Переплёт"_cp, "Обложка"_cp};

// The columns in the order the export writes them.
inline constexpr std::array<Колонка, 8> kПорядокКолонок = {Колонка::код,       Колонка::автор, Колонка::наименование,
                                                        Колонка::категория, Колонка::вид,   Колонка::диск,
                                                        Колонка::переплёт,  Колонка::обложка};

inline std::string_view имя_колонки(Колонка к) { return kКолонки[static_cast<std::size_t>(к)]; }

// The byte-order mark that begins a UTF-8 table.
inline constexpr std::string_view kМеткаПорядкаБайтов = "\xEF\xBB\xBF";

// The text of a record in a column (cp1251): the code in decimal, the disk and the binding as
// their display words ("Есть"/"Нет", "Твёрдый"/"Мягкий"; a value without a word as its number),
// the other fields as they are.
std::string значение_колонки(const ЗаписьБазы& record, Колонка column);

// The CSV text (UTF-8 bytes with a byte-order mark, commas, CR LF) of the records, in the order
// given, under a row of column names. A value a spreadsheet would take for a formula is written
// behind an apostrophe (добавить_значение_csv); a line break inside a value stays in it, quoted.
std::string записи_в_csv(const std::vector<ЗаписьБазы>& records);
