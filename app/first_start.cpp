// Choosing the catalogue folder of a run, and making its catalogue on the first start.
#include "app/first_start.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "app/recent_catalogues.h"
#include "app/session.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "layer/std_dialogs.h"
#include "runtime/codepage.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace fs = std::filesystem;

namespace {

enum class Выбор { пустой, образцы, отмена };

// Whether the folder holds a catalogue the program can enter.
bool есть_каталог(const fs::path& папка) {
  std::error_code ec;
  return fs::exists(папка / RUN_HostPath(файл_базы), ec) && ::access(папка.c_str(), R_OK | X_OK) == 0;
}

// The folder of this run, before anything is asked or made.
fs::path выбрать_папку(const ЗапускПрограммы& запуск) {
  if (!запуск.папка.empty()) return запуск.папка;
  std::error_code ec;
  const fs::path текущая = fs::current_path(ec);
  if (!ec && есть_каталог(текущая)) return текущая;
  const std::vector<std::string> последние = последние_каталоги();
  if (!последние.empty() && есть_каталог(последние.front())) return последние.front();
  const std::string своя = папка_каталога_пользователя();
  return своя.empty() ? текущая : fs::path(своя);
}

Выбор спросить(const fs::path& папка) {
  const std::string вопрос =
      "В папке «"_cps + показ_папки(папка.string()) +
      "» ещё нет каталога литературы. С чего начать?\n\n"
      "«Пустой каталог» — стандартные виды и категории литературы, книг нет.\n"
      "«Книги-образцы» — каталог из нескольких книг с обложками, чтобы познакомиться с программой."_cps;
  switch (dlg_Ask("Фолиарх — первый запуск"_cps, вопрос,
                  {"Пустой каталог"_cps, "Книги-образцы"_cps, "Отмена"_cps})) {
    case 0: return Выбор::пустой;
    case 1: return Выбор::образцы;
    default: return Выбор::отмена;
  }
}

// The whole contents of a sample file; a file that cannot be read raises its host error.
std::string прочитать(const fs::path& файл) {
  std::ifstream in(файл, std::ios::binary);
  if (!in) RUN_OsError(errcode::host(errno != 0 ? errno : ENOENT));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) RUN_OsError(errcode::host(EIO));
  return bytes;
}

// Writes one file of the new catalogue into the current directory unless it is there already.
void положить(std::string_view имя, const std::string& bytes) {
  if (!RUN_FileExists(имя)) RUN_ReplaceFile(имя, bytes);
}

// Makes the chosen catalogue in the current directory: the sample files (all of them, or only
// the kinds and categories with an empty catalogue file), the catalogue file last, so that a
// folder holds a catalogue only once every other file is in place.
void создать_каталог(Выбор выбор) {
  const fs::path образцы = папка_образцов();
  std::vector<fs::path> файлы;
  if (выбор == Выбор::образцы) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(образцы, ec))
      if (e.is_regular_file() && e.path().filename() != RUN_HostPath(файл_базы)) файлы.push_back(e.path());
    if (ec) RUN_OsError(errcode::host(ec.value()));
    std::sort(файлы.begin(), файлы.end());
  } else {
    файлы = {образцы / RUN_HostPath(файл_видов), образцы / RUN_HostPath(файл_категорий)};
  }
  for (const fs::path& f : файлы) положить(RUN_FromHostPath(f.filename().string()), прочитать(f));
  положить(файл_базы, выбор == Выбор::образцы ? прочитать(образцы / RUN_HostPath(файл_базы)) : std::string());
}

void сообщить(const std::string& текст) { dlg_Error("Фолиарх"_cps, текст); }

// Enters the folder, made first when it is missing; false (and the user told why) when it
// cannot be made or entered.
bool войти(const fs::path& папка) {
  std::error_code ec;
  fs::create_directories(папка, ec);
  if (!ec) fs::current_path(папка, ec);
  if (!ec) return true;
  сообщить(текст_отказа("Не удалось открыть папку каталога «"_cps + показ_папки(папка.string()) + "»"_cps, ec.value()));
  return false;
}

}  // namespace

std::string папка_запуска(const ЗапускПрограммы& start) { return выбрать_папку(start).string(); }

std::string папка_каталога_пользователя() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/foliarkh";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share/foliarkh";
  return {};
}

std::string имя_каталога(const std::string& folder) {
  std::error_code ec;
  const std::string своя = папка_каталога_пользователя();
  if (!своя.empty() && fs::equivalent(fs::path(folder), fs::path(своя), ec)) return "Мой каталог"_cps;
  const std::string имя = fs::path(folder).filename().string();
  return показ_папки(имя.empty() ? folder : имя);
}

std::string папка_образцов() {
  std::error_code ec;
  const fs::path программа = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return (программа.parent_path() / ".." / "share" / "foliarkh" / "data").lexically_normal().string();
}

bool подготовить_папку_каталога() {
  if (!сеанс().запуск || !сеанс().запуск->сервер.empty()) return true;  // a server catalogue has no folder
  const fs::path папка = выбрать_папку(*сеанс().запуск);
  while (!есть_каталог(папка)) {
    const Выбор выбор = спросить(папка);
    if (выбор == Выбор::отмена) return false;
    if (!войти(папка)) continue;
    try {
      создать_каталог(выбор);
    } catch (const RunError& e) {
      сообщить(текст_отказа("Не удалось создать каталог в папке «"_cps + показ_папки(папка.string()) + "»"_cps, e) +
               "\nКниги-образцы и стандартные виды и категории программа берёт из папки «"_cps +
               RUN_FromHostPath(папка_образцов()) + "»."_cps);
    }
  }
  if (!войти(папка)) return false;
  запомнить_каталог(папка.string());
  return true;
}
