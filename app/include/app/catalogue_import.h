// The command "База" / "Импорт…": a table of records read into the plan of core/import_plan.h,
// the summary of it shown, and on agreement the records added through the change path, as one
// step that undo takes back. Nothing changes before the user has seen the summary and agreed.
#pragma once

#include "core/import_plan.h"

// "Импорт…": the file chosen, read, the summary shown, and on "Добавить" the records added. A
// file that cannot be read (a folder, a pipe or a device is not read at all) or is not a table of
// records is reported and nothing changes. False when nothing was added.
bool импортировать_каталог();
