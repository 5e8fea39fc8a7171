// What a change of the catalogue did, as the change path's subscribers hear it: this desk's
// operations (change_path.h) and what other desks stored (other_desks.h) alike.
#pragma once

#include <cstdint>
#include <vector>

#include "core/catalogue_facts.h"

// Who made a change: the window it was made in, as its own number (0: no window, as an undo or
// redo, which every window shows alike).
using ИсточникИзменения = std::uint64_t;

// What a change did, as the subscribers hear it.
struct Изменения {
  ИсточникИзменения источник = 0;
  std::vector<ЗаписьБазы> убранные;     // records taken out
  std::vector<ЗаписьБазы> добавленные;  // records put in, with the codes they got
  bool категории = false;               // the categories changed
  bool виды = false;                    // the kinds changed
  bool настройки = false;               // the card font or the loan period changed
  bool читатели = false;                // the readers changed
  bool выдачи = false;                  // the loans changed (a book issued or returned)
  bool история = false;                 // the steps to undo or redo changed
  // The sections read again because another desk (or a person) stored them: their tables may
  // hold anything new, beyond the records and the lists above.
  std::vector<const FactSection*> перечитанные;
  bool пусто() const {
    return убранные.empty() && добавленные.empty() && !категории && !виды && !настройки && !читатели && !выдачи &&
           !история && перечитанные.empty();
  }
};
