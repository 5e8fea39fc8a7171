// The core's reset entry and its registration.
#include "core/core_part.h"

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/catalogue_work.h"
#include "core/change_path.h"
#include "runtime/run.h"

namespace {

void сбросить_ядро() {
  начать_каталог_заново();
  шрифткарточки.retract_all();
  задать_хранилище_каталога(nullptr);
  задать_сообщение_о_файлах(nullptr);
  сбросить_путь_изменений();
}

// The run ends: a storage of another kind (a server's connection) closes while the libraries it
// uses are still there, not among the process's last destructors.
void закончить_ядро() { задать_хранилище_каталога(nullptr); }

}  // namespace

void core_RegisterPart() { RUN_RegisterPart(nullptr, закончить_ядро, сбросить_ядро); }
