// The catalogue's folder: the working folder, the checks of a chosen folder and the texts of
// messages about folders.
#include "core/catalogue_folder.h"

#include <filesystem>
#include <system_error>

#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/host_path.h"

namespace fs = std::filesystem;

std::vector<std::string_view> файлы_каталога() {
  std::vector<std::string_view> файлы;
  for (const РазделКаталога& р : разделы_каталога()) файлы.push_back(р.файл);
  return файлы;
}

std::optional<std::string> отказ_папки(const std::string& folder, std::optional<bool> catalogue) {
  std::error_code ec;
  const std::string показ = показ_папки(folder);
  if (!fs::is_directory(folder, ec)) return "Папка «"_cps + показ + "» не найдена."_cps;
  if (catalogue == true && !fs::is_regular_file(файл_в_папке(folder, файл_базы), ec))
    return "В папке «"_cps + показ + "» нет каталога: в ней нет файла «"_cps + std::string(файл_базы) + "»."_cps;
  if (catalogue == false)
    for (std::string_view name : файлы_каталога())
      if (fs::exists(fs::symlink_status(файл_в_папке(folder, name), ec)))
        return "В папке «"_cps + показ + "» уже есть файлы каталога (например, «"_cps + std::string(name) +
               "»). Выберите пустую папку или создайте новую."_cps;
  return std::nullopt;
}

std::string текст_отказа(const std::string& what, const RunError& e, std::string_view outcome) {
  return what + ": "_cps + ERR_ErrorWords(e.code()) + (outcome.empty() ? "."_cps : ". "_cps + std::string(outcome)) +
         "\n"_cps + ERR_ErrorAdvice(e.code());
}

std::string текст_отказа(const std::string& what, int host_number) {
  return what + ": "_cps + ERR_HostErrorWords(host_number) + ".\n"_cps + ERR_HostErrorAdvice(host_number);
}
