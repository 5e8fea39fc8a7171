// The card of a record: one labelled line for each field of the field table that has a card
// label, in the table's order, the value written in full after the label and one blank
// ("Автор:\t\t\t% "). The card file, the copied card and the printed card are all this text.
#pragma once

#include <string>
#include <vector>

#include "core/book_fields.h"

// One line of the card: its format (the label, "%" and a blank) and its one value (a value
// without a display word is empty).
struct СтрокаКарточки {
  std::string формат;
  std::string значение;
};
std::vector<СтрокаКарточки> поля_карточки(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());

// The card's lines as the card file holds them, without their line ends.
std::vector<std::string> строки_карточки(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());
// The card as text: its lines, each ended by "\n".
std::string текст_карточки(const ЗаписьБазы& record, const ТаблицаПолей& table = поля_книги());
