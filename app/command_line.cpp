// The command line: help, version, the catalogue folder, and the messages of a wrong one. The
// texts are the host's (UTF-8 on the terminal), not the program's cp1251 strings.
#include "app/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/session.h"

#ifndef FOLIARKH_VERSION
#define FOLIARKH_VERSION "1.0"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kКодОшибки = 2;

constexpr std::string_view kСправка =
    "Использование: foliarkh [ПАПКА]\n"
    "Фолиарх — каталог литературы для небольшой библиотеки или домашнего собрания книг.\n"
    "\n"
    "  ПАПКА        папка каталога: программа работает с каталогом в ней, как если бы\n"
    "               её запустили в этой папке\n"
    "  -h, --help   показать эту справку и выйти\n"
    "  --version    показать версию и выйти\n"
    "\n"
    "Без ПАПКИ программа работает с каталогом текущей папки, если в ней есть файл\n"
    "«Литература1.pbs». Иначе она открывает каталог пользователя: последний открытый\n"
    "каталог или папку $XDG_DATA_HOME/foliarkh (~/.local/share/foliarkh). Когда\n"
    "в выбранной папке каталога ещё нет, программа спрашивает, начать ли с пустого\n"
    "каталога или с книг-образцов, и создаёт его.\n"
    "\n"
    "Код выхода: 0 — обычное завершение, 2 — неверная командная строка.\n";

int вывести(std::FILE* поток, std::string_view текст, int код) {
  std::fwrite(текст.data(), 1, текст.size(), поток);
  std::fflush(поток);
  return код;
}

int ошибка(const std::string& текст) {
  return вывести(stderr, "foliarkh: " + текст + "\nСправка: foliarkh --help\n", kКодОшибки);
}

std::string в_кавычках(std::string_view s) { return "«" + std::string(s) + "»"; }

}  // namespace

std::optional<int> принять_командную_строку(int argc, char** argv) {
  std::optional<std::string> папка;
  bool параметры_кончились = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view арг = argv[i];
    if (!параметры_кончились && арг == "--") {
      параметры_кончились = true;
      continue;
    }
    if (!параметры_кончились && (арг == "--help" || арг == "-h")) return вывести(stdout, kСправка, 0);
    if (!параметры_кончились && арг == "--version")
      return вывести(stdout, "Фолиарх " FOLIARKH_VERSION "\n", 0);
    if (!параметры_кончились && арг.size() > 1 && арг.front() == '-')
      return ошибка("неизвестный параметр " + в_кавычках(арг));
    if (папка) return ошибка("лишний аргумент " + в_кавычках(арг) + ": папка каталога указывается одна");
    папка = std::string(арг);
  }
  if (!папка) {
    сеанс().запуск = ЗапускПрограммы{};
    return std::nullopt;
  }
  std::error_code ec;
  const fs::file_status вид = fs::status(*папка, ec);
  if (!fs::exists(вид)) return ошибка("папка " + в_кавычках(*папка) + " не существует");
  if (!fs::is_directory(вид)) return ошибка(в_кавычках(*папка) + " — не папка");
  if (::access(папка->c_str(), R_OK | X_OK) != 0) return ошибка("нет доступа к папке " + в_кавычках(*папка));
  fs::path полный = fs::absolute(*папка, ec);
  if (ec) полный = *папка;
  std::string путь = полный.lexically_normal().string();
  while (путь.size() > 1 && путь.back() == '/') путь.pop_back();
  сеанс().запуск = ЗапускПрограммы{путь};
  return std::nullopt;
}
