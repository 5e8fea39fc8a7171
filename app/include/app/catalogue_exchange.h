// What the export and the import of records share: the columns of an exchanged table, in their
// order, with the text of a record in each; and a file error put in words for the user.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/catalogue_facts.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

// The columns, in the order the export writes them; the import finds them by name.
enum class Колонка { код, автор, наименование, категория, вид, диск, переплёт, обложка };
inline constexpr std::array<std::string_view, 8> kКолонки = {
    "Код"_cp, "Автор"_cp, "Наименование"_cp, "Категория"_cp, "Вид"_cp, "Диск"_cp, "Переплёт"_cp, "Обложка"_cp};

inline std::string_view имя_колонки(Колонка к) { return kКолонки[static_cast<std::size_t>(к)]; }

// The text of a record in a column (cp1251): the code in decimal, the disk and the binding as
// their display words ("Есть"/"Нет", "Твёрдый"/"Мягкий"; a value without a word as its number),
// the other fields as they are.
std::string значение_колонки(const ЗаписьБазы& record, Колонка column);

// Why a file could not be read or written, for a message: the words of the runtime's one table
// (ERR_ErrorWords).
std::string причина_ошибки_файла(const RunError& error);
