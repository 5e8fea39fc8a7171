// The command "База" / "Импорт…": a table of records read into the plan of catalogue/import_plan.h,
// the summary of it shown, and on agreement the records added. Nothing changes before the user
// has seen the summary and agreed.
#pragma once

#include <cstddef>
#include <functional>

#include "core/import_plan.h"

// Adds the plan's records at the front of the catalogue with fresh codes (the largest code plus 1,
// 2, … in the file's order, as data entry would give them one after another), the categories
// and kinds they bring at the back of their lists, then saves the catalogue and, when they grew,
// the categories and the kinds, each once. `report` (may be empty) hears how many records are
// added. When the catalogue cannot be saved, nothing stays added and the error is raised; codes
// beyond the integer range raise 1031 before anything changes.
void выполнить_импорт(const ПланИмпорта& plan, const std::function<void(std::size_t)>& report = {});

// "Импорт…": the file chosen, read, the summary shown, and on "Добавить" the records added. A
// file that cannot be read (a folder, a pipe or a device is not read at all) or is not a table of
// records is reported and nothing changes. False when nothing was added.
bool импортировать_каталог();
