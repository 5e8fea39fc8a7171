// The list line of a record (the text line the literature list shows for it, its columns those
// of the field table's list-line directives joined by "|"), the code a line starts with, the
// order of the list's lines, and the records of the lines, in that order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_fields.h"

// The list line of a record; nothing for a record with a value that has no display word.
std::optional<std::string> строка_списка(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());

// The record code a list line starts with: the text before its first "|", leading blanks
// allowed, so that codes of any length are recovered whole.
std::optional<std::int32_t> код_строки(std::string_view line);

// The record a list line's code names: the first with that code in table order, as deletion,
// editing and the card find it; none when the line has no code or no record has it.
std::optional<ЗаписьБазы> запись_кода_строки(std::string_view line);

// The order of the list's lines (the sorted list box's): whether `a` comes before `b`.
bool строка_раньше(std::string_view a, std::string_view b);

// Hands every record that has a list line to `fn` with its line, in table order.
void для_строк_каталога(const std::function<void(std::string line, const ЗаписьБазы& record)>& fn);

// Every record that has a line, in the order of their lines (equal lines in table order).
std::vector<ЗаписьБазы> записи_в_порядке_списка();

// The records of the given lines, in their order: each line is the line of one record, found by
// the whole line, so records that share a code stay apart. A line of no record gives none.
std::vector<ЗаписьБазы> записи_строк(const std::vector<std::string>& lines);
