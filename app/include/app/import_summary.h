// The import summary (диалог_итог_импорта): before an import changes anything, what it will do —
// the records it adds, the duplicates it passes over, the new categories — and every row it
// refuses with its line and why, in a list that scrolls. "Добавить" agrees, "Отмена" does not;
// with nothing to add, "Добавить" is disabled.
#pragma once

#include <optional>
#include <string>

#include "app/catalogue_import.h"
#include "layer/layer.h"

// The longest list of refused rows shown; a last line tells how many more there are.
inline constexpr std::size_t kОтказовВСписке = 1000;

// Shows the summary of `plan` for the file `file_name`, modal on `parent`; true for "Добавить".
bool dlg_итог_импорта_Create(Window parent, const ПланИмпорта& plan, const std::string& file_name);
// Its handler: the creation data is the number of records to add.
std::optional<long> dlg_итог_импорта_eh(Window dlg, const Event& ev);
