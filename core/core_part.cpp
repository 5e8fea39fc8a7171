// The core's reset entry and its registration.
#include "core/core_part.h"

#include "core/catalogue_facts.h"
#include "core/change_path.h"
#include "core/catalogue_files.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/run.h"

namespace {

void сбросить_ядро() {
  очистить_каталог();
  шрифткарточки.retract_all();
  списоккодов.set({0});
  забыть_состояние_файлов();
  задать_хранилище_каталога(nullptr);
  забыть_историю();
  забыть_подписчиков();
}

}  // namespace

void core_RegisterPart() { RUN_RegisterPart(nullptr, nullptr, сбросить_ядро); }
