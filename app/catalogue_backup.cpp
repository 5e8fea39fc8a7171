// The backup copy command.
#include "app/catalogue_backup.h"
#include "app/session.h"

#include <string>

#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "layer/std_dialogs.h"
#include "runtime/codepage.h"
#include "runtime/host_path.h"

namespace {

const std::string kЗаголовок = std::string("Резервная копия"_cp);

}  // namespace

bool сделать_резервную_копию() {
  const auto выбор = dlg_GetFolderName("Резервная копия: выберите папку для копии"_cps, папка_для_документов());
  if (!выбор) return false;
  запомнить_папку_документов(*выбор, true);
  const ФайлыКопии что = файлы_для_копии();
  const ИтогРаботы копия = записать_копию(RUN_HostPath(*выбор), что);
  if (!копия.сделано()) {
    dlg_Error(kЗаголовок, копия.отказ);
    return false;
  }
  std::string текст = "Резервная копия каталога сохранена в папке «"_cps + показ_папки(копия.путь) +
                      "».\nФайлов в копии: "_cps + std::to_string(что.файлы.size()) + "."_cps;
  if (что.нет_обложек > 0)
    текст += "\nНе найдено файлов обложек: "_cps + std::to_string(что.нет_обложек) + "."_cps;
  dlg_MessageBox(kЗаголовок, текст, mb_Information, mb_Ok, 0, mb_TaskModal);
  return true;
}
