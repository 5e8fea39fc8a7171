// The new catalogue command.
#include "app/new_catalogue.h"

#include <string>

#include "app/catalogue_switch.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "runtime/codepage.h"
#include "runtime/host_path.h"

bool создать_новый_каталог(Window task) {
  const auto выбор = dlg_GetFolderName("Новый каталог: выберите пустую папку"_cps, показ_папки(рабочая_папка()));
  if (!выбор) return false;
  const ИтогРаботы новый = записать_новый_каталог(RUN_HostPath(*выбор));
  if (!новый.сделано()) {
    dlg_Error(std::string("Новый каталог"_cp), новый.отказ);
    return false;
  }
  return открыть_каталог(task, новый.путь);
}
