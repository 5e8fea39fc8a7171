// The backup copy of the working catalogue.
#include "app/catalogue_backup.h"

#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>

#include "app/catalogue_folder.h"
#include "catalogue/catalogue_facts.h"
#include "layer/std_dialogs.h"
#include "runtime/codepage.h"
#include "runtime/host_path.h"
#include "runtime/safe_write.h"

namespace {

const std::string kЗаголовок = std::string("Резервная копия"_cp);

std::string сегодня() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

// A file of the working folder by its bare name (a cover named with a folder is not one).
bool есть_файл(const std::string& name) {
  std::error_code ec;
  return name.find('/') == std::string::npos && std::filesystem::is_regular_file(RUN_HostPath(name), ec);
}

}  // namespace

ФайлыКопии файлы_для_копии() {
  ФайлыКопии копия;
  std::set<std::string> взятые;
  for (std::string_view имя : файлы_каталога)
    if (есть_файл(std::string(имя)) && взятые.insert(std::string(имя)).second) копия.файлы.emplace_back(имя);
  for (auto v : база_лит.views()) {
    const std::string обложка(v[&ЗаписьБазы::обложка]);
    if (обложка.empty() || взятые.contains(обложка)) continue;
    взятые.insert(обложка);
    if (есть_файл(обложка))
      копия.файлы.push_back(обложка);
    else
      ++копия.нет_обложек;
  }
  return копия;
}

std::string имя_папки_копии(const std::string& date, int n) {
  std::string имя = "Фолиарх-копия-"_cps + date;
  if (n > 1) имя += "-" + std::to_string(n);
  return имя;
}

std::optional<std::string> записать_копию(const std::string& folder, const ФайлыКопии& what) {
  if (const auto отказ = отказ_папки(folder, std::nullopt)) {
    dlg_Error(kЗаголовок, *отказ);
    return std::nullopt;
  }
  const std::string дата = сегодня();
  try {
    for (int n = 1; n < 1000; ++n) {
      const std::string папка = файл_в_папке(folder, имя_папки_копии(дата, n));
      if (RUN_CopyToNewFolder(what.файлы, RUN_FromHostPath(папка))) return папка;
    }
    dlg_Error(kЗаголовок, "В папке «"_cps + показ_папки(folder) + "» уже слишком много копий за сегодня."_cps);
  } catch (const RunError& e) {
    dlg_Error(kЗаголовок, текст_отказа("Не удалось сделать резервную копию в папке «"_cps + показ_папки(folder) + "»"_cps,
                                       e, "Копия не сделана."_cp));
  }
  return std::nullopt;
}

bool сделать_резервную_копию() {
  const auto выбор = dlg_GetFolderName("Резервная копия: выберите папку для копии"_cps, показ_папки(рабочая_папка()));
  if (!выбор) return false;
  const ФайлыКопии что = файлы_для_копии();
  const auto папка = записать_копию(RUN_HostPath(*выбор), что);
  if (!папка) return false;
  std::string текст = "Резервная копия каталога сохранена в папке «"_cps + показ_папки(*папка) +
                      "».\nФайлов в копии: "_cps + std::to_string(что.файлы.size()) + "."_cps;
  if (что.нет_обложек > 0)
    текст += "\nНе найдено файлов обложек: "_cps + std::to_string(что.нет_обложек) + "."_cps;
  dlg_MessageBox(kЗаголовок, текст, mb_Information, mb_Ok, 0, mb_TaskModal);
  return true;
}
