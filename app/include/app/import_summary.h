// The import summary (диалог_итог_импорта): before an import changes anything, what it will do —
// the records it adds, the duplicates it passes over, the new categories and kinds — and, in a
// list that scrolls, the rows it refuses with their lines and why, the rows it passes over and
// why, the new categories and kinds by name, and the categories and kinds it writes as stored
// ones (each list its first kЗамечанийВПлане lines, then how many more). "Добавить" agrees,
// "Отмена" does not; with nothing to add, "Добавить" is disabled.
#pragma once

#include <optional>
#include <string>

#include "core/import_plan.h"
#include "layer/layer.h"

// Shows the summary of `plan` for the file `file_name`, modal on `parent`; true for "Добавить".
bool dlg_итог_импорта_Create(Window parent, const ПланИмпорта& plan, const std::string& file_name);
// Its handler: the creation data is the number of records to add.
std::optional<long> dlg_итог_импорта_eh(Window dlg, const Event& ev);
