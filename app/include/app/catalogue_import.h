// Reading records from a CSV table and adding them to the catalogue: the command "База" /
// "Импорт…". The table is UTF-8 (with or without a byte-order mark) or cp1251, its separator a
// comma or a semicolon; its first row names the columns of catalogue_exchange.h in any order
// ("Код" and unknown columns are passed over). Nothing changes before the user has seen the
// summary of what the import will do and agreed.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"
#include "layer/types.h"

// The longest value a field may hold, in bytes of code page 1251; a longer one refuses its row.
inline constexpr std::size_t kДлиннейшееЗначение = 4000;
// The largest file the import reads.
inline constexpr std::size_t kНаибольшийФайлИмпорта = 256u << 20;

// A row that will not be added, with the line of the file it starts on and why.
struct ОтказСтроки {
  std::size_t строка = 0;
  std::string причина;  // cp1251
  bool operator==(const ОтказСтроки&) const = default;
};

// What an import will do.
struct ПланИмпорта {
  std::vector<ЗаписьБазы> новые;             // the records to add, in the file's order (codes not given yet)
  std::vector<std::string> новые_категории;  // the categories they bring that the catalogue lacks, in order
  std::size_t повторы_каталога = 0;          // rows equal to a stored record (all seven values after the code)
  std::size_t повторы_файла = 0;             // rows equal to an earlier row of the file
  std::vector<ОтказСтроки> отказы;           // rows refused, in the file's order
};

// A file refused as a whole, with the message that says why (cp1251).
struct ОтказФайла {
  std::string причина;
};

// Reads the bytes of a table against the catalogue and the categories in memory (it changes
// neither). `report` (may be empty) hears how many bytes are read and stops the reading by
// returning false: nothing is then the result.
std::optional<std::variant<ПланИмпорта, ОтказФайла>> разобрать_импорт(
    std::string_view bytes, const std::function<bool(std::size_t)>& report = {});

// Adds the plan's records at the front of the catalogue with fresh codes (the largest code plus 1,
// 2, … in the file's order, as data entry would give them one after another) and its categories at
// the back of the categories, then saves the catalogue and, when categories were added, the
// categories, each once. `report` (may be empty) hears how many records are added. When the
// catalogue cannot be saved, nothing stays added and the error is raised; codes beyond the
// integer range raise 1031 before anything changes.
void выполнить_импорт(const ПланИмпорта& plan, const std::function<void(std::size_t)>& report = {});

// "Импорт…": the file chosen, read, the summary shown, and on "Добавить" the records added. A
// file that cannot be read or is not a table of records is reported and nothing changes. False
// when nothing was added.
bool импортировать_каталог();
