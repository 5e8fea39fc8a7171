// The catalogue's statistics as data, for the statistics window to draw: books by category and by
// kind, out and on the shelf, loans per month for the last 12 months, and the ten books and the
// ten readers with the most loans. Each is a list of labelled numbers in the order shown.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/lending.h"

struct СтолбецСтатистики {
  std::string подпись;
  std::size_t число = 0;
  bool operator==(const СтолбецСтатистики&) const = default;
};

struct СтатистикаКаталога {
  std::vector<СтолбецСтатистики> по_категориям;  // by number, most first; then by name
  std::vector<СтолбецСтатистики> по_видам;       // likewise; a book without a kind under "без вида"
  std::vector<СтолбецСтатистики> наличие;        // "на руках", "на полке"
  // "1960-е", the oldest decade first; the books without a year last, as "год не указан"
  std::vector<СтолбецСтатистики> по_десятилетиям;
  std::vector<СтолбецСтатистики> по_месяцам;     // "ГГГГ-ММ", the oldest of the 12 first, `день`'s month last
  std::vector<СтолбецСтатистики> книги_чаще;     // at most ten: "код автор «название»", most loans first
  std::vector<СтолбецСтатистики> читатели_чаще;  // at most ten: the reader's name, most loans first
};

// The statistics of the catalogue as it is on `день`.
СтатистикаКаталога статистика_каталога(День день);
