// Entering another catalogue's folder, a new catalogue's files and the backup copy (see
// catalogue_work.h).
#include "core/catalogue_work.h"

#include <ctime>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "core/change_path.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/err_words.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace fs = std::filesystem;

namespace {

// A file of the working folder by its bare name (a cover named with a folder is not one).
bool есть_файл(const std::string& name) {
  std::error_code ec;
  return name.find('/') == std::string::npos && fs::is_regular_file(RUN_HostPath(name), ec);
}

ИтогРаботы отказ(std::string why) { return {{}, std::move(why)}; }

}  // namespace

std::string сегодня(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

std::optional<std::string> войти_в_папку_каталога(const std::string& folder) {
  if (auto why = отказ_папки(folder, true)) return why;
  std::error_code ec;
  fs::current_path(folder, ec);
  if (ec) return текст_отказа("Не удалось открыть папку «"_cps + показ_папки(folder) + "»"_cps, ec.value());
  return std::nullopt;
}

void начать_каталог_заново() {
  очистить_каталог();
  списоккодов.set({0});
  забыть_состояние_файлов();
  забыть_историю();
  начать_слежение_заново();
}

ИтогРаботы записать_новый_каталог(const std::string& folder) {
  if (auto why = отказ_папки(folder, false)) return отказ(std::move(*why));
  // The catalogue's own file (which makes a folder hold a catalogue) is written last.
  std::vector<std::pair<std::string_view, std::string>> файлы;
  for (const РазделКаталога& р : разделы_каталога()) {
    if (!р.при_открытии || р.секция == &секция_базы) continue;
    файлы.emplace_back(р.файл, р.переносится ? RNT_SaveText(*р.секция) : std::string());
  }
  файлы.emplace_back(файл_базы, std::string());
  std::vector<std::string> записанные;
  try {
    for (const auto& [имя, текст] : файлы) {
      записанные.push_back(файл_в_папке(folder, имя));
      RUN_ReplaceFile(RUN_FromHostPath(записанные.back()), текст);
    }
  } catch (const RunError& e) {
    std::error_code ec;
    for (const std::string& f : записанные) fs::remove(f, ec);
    return отказ(текст_отказа("Не удалось создать каталог в папке «"_cps + показ_папки(folder) + "»"_cps, e));
  }
  return {folder, {}};
}

ФайлыКопии файлы_для_копии() {
  ФайлыКопии копия;
  std::set<std::string> взятые;
  for (std::string_view имя : файлы_каталога())
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

ИтогРаботы записать_копию(const std::string& folder, const ФайлыКопии& what) {
  if (auto why = отказ_папки(folder, std::nullopt)) return отказ(std::move(*why));
  const std::string дата = сегодня("%Y-%m-%d");
  try {
    for (int n = 1; n < 1000; ++n) {
      const std::string папка = файл_в_папке(folder, имя_папки_копии(дата, n));
      if (RUN_CopyToNewFolder(what.файлы, RUN_FromHostPath(папка))) return {папка, {}};
    }
    return отказ("В папке «"_cps + показ_папки(folder) + "» уже слишком много копий за сегодня."_cps);
  } catch (const RunError& e) {
    return отказ(текст_отказа("Не удалось сделать резервную копию в папке «"_cps + показ_папки(folder) + "»"_cps, e,
                              "Копия не сделана."_cp));
  }
}

namespace {

// The n-th name tried for a picture: its own, then "<stem>-n<ext>".
std::string имя_под_номером(const std::string& имя, int n) {
  if (n == 1) return имя;
  const std::size_t точка = имя.find_last_of('.');
  const std::size_t конец_основы = точка == std::string::npos || точка == 0 ? имя.size() : точка;
  return имя.substr(0, конец_основы) + "-" + std::to_string(n) + имя.substr(конец_основы);
}

// The largest picture taken (as the cover window reads at most).
constexpr std::size_t kНаибольшаяКартинка = std::size_t(128) << 20;

}  // namespace

ИтогРаботы взять_картинку_в_папку(const std::string& path) {
  const std::size_t косая = path.find_last_of('/');
  const std::string имя = косая == std::string::npos ? path : path.substr(косая + 1);
  if (имя.empty()) return отказ("Не выбран файл картинки."_cps);
  std::error_code ec;
  const fs::path откуда = fs::path(RUN_HostPath(path));
  const fs::path папка = fs::path(рабочая_папка());
  if (fs::equivalent(откуда.parent_path().empty() ? fs::path(".") : откуда.parent_path(), папка, ec)) return {имя, {}};
  try {
    const std::optional<std::string> байты = IO_RdFileBytes(path, kНаибольшаяКартинка);
    if (!байты) return отказ("Файл «"_cps + имя + "» слишком велик для обложки."_cps);
    for (int n = 1; n < 100000; ++n) {
      const std::string кандидат = имя_под_номером(имя, n);
      if (RUN_CopyToNewFile(path, кандидат)) return {кандидат, {}};
      // The name is taken: the same picture there is used, a different one passed by.
      const std::optional<std::string> там = IO_RdFileBytes(кандидат, kНаибольшаяКартинка);
      if (там && *там == *байты) return {кандидат, {}};
    }
    return отказ("В папке каталога нет свободного имени для файла «"_cps + имя + "»."_cps);
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    return отказ(текст_отказа("Не удалось взять картинку «"_cps + имя + "» в папку каталога"_cps, e));
  }
}
