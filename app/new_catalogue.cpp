// Making a new catalogue in a folder of the user's choice.
#include "app/new_catalogue.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/catalogue_folder.h"
#include "app/catalogue_switch.h"
#include "catalogue/catalogue_facts.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "runtime/safe_write.h"

namespace {

const std::string kЗаголовок = std::string("Новый каталог"_cp);

}  // namespace

bool записать_новый_каталог(const std::string& folder) {
  if (const auto отказ = отказ_папки(folder, false)) {
    dlg_Error(kЗаголовок, *отказ);
    return false;
  }
  const std::vector<std::pair<std::string_view, std::string>> файлы = {
      {файл_видов, RNT_SaveText(секция_видов)},
      {файл_категорий, RNT_SaveText(секция_категорий)},
      {файл_базы, std::string()},
  };
  std::vector<std::string> записанные;
  try {
    for (const auto& [имя, текст] : файлы) {
      записанные.push_back(файл_в_папке(folder, имя));
      RUN_ReplaceFile(RUN_FromHostPath(записанные.back()), текст);
    }
  } catch (const RunError& e) {
    std::error_code ec;
    for (const std::string& f : записанные) std::filesystem::remove(f, ec);
    dlg_Error(kЗаголовок, текст_отказа("Не удалось создать каталог в папке «"_cps + показ_папки(folder) + "»"_cps, e));
    return false;
  }
  return true;
}

bool создать_новый_каталог(Window task) {
  const auto выбор = dlg_GetFolderName("Новый каталог: выберите пустую папку"_cps, показ_папки(рабочая_папка()));
  if (!выбор) return false;
  const std::string папка = RUN_HostPath(*выбор);
  return записать_новый_каталог(папка) && открыть_каталог(task, папка);
}
