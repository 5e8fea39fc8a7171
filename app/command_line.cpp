// The command line: help, version, the catalogue folder, the work without a window (the check,
// the export and the import: catalogue_batch.h), and the messages of a wrong one. The
// texts are the host's (UTF-8 on the terminal), not the program's cp1251 strings.
#include "app/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "app/catalogue_batch.h"
#include "app/session.h"

#ifndef FOLIARKH_VERSION
#define FOLIARKH_VERSION "1.0"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kКодОшибки = 2;

constexpr std::string_view kСправка =
    "Использование: foliarkh [ПАПКА]\n"
    "       foliarkh --check [ПАПКА]\n"
    "       foliarkh --export ФАЙЛ [ПАПКА]\n"
    "       foliarkh --import ФАЙЛ [ПАПКА] [--dry-run]\n"
    "Фолиарх — каталог литературы для небольшой библиотеки или домашнего собрания книг.\n"
    "\n"
    "  ПАПКА        папка каталога: программа работает с каталогом в ней, как если бы\n"
    "               её запустили в этой папке\n"
    "  -h, --help   показать эту справку и выйти\n"
    "  --version    показать версию и выйти\n"
    "\n"
    "Без окон и без экрана, с каталогом ПАПКИ:\n"
    "  --check        прочитать файлы каталога и вывести по строке на каждую\n"
    "                 ошибку, «ИМЯ_ФАЙЛА:СТРОКА: причина» («ИМЯ_ФАЙЛА: причина» —\n"
    "                 о файле, который не читается вовсе); ничего не меняет\n"
    "  --export ФАЙЛ  записать весь каталог, как «База» / «Экспорт…»: страницу\n"
    "                 HTML, когда имя ФАЙЛА кончается на .html или .htm, иначе\n"
    "                 таблицу CSV\n"
    "  --import ФАЙЛ  прочитать таблицу, как «База» / «Импорт…», вывести итог\n"
    "                 (записи к добавлению, повторы, новые категории и виды,\n"
    "                 каждую строку с ошибкой с её номером и причиной) и добавить\n"
    "                 записи, как кнопка «Добавить»\n"
    "  --dry-run      с --import: только вывести итог, ничего не меняя\n"
    "\n"
    "Без ПАПКИ программа работает с каталогом текущей папки, если в ней есть файл\n"
    "«Литература1.pbs». Иначе она открывает каталог пользователя: последний открытый\n"
    "каталог или папку $XDG_DATA_HOME/foliarkh (~/.local/share/foliarkh). Когда\n"
    "в выбранной папке каталога ещё нет, программа спрашивает, начать ли с пустого\n"
    "каталога или с книг-образцов, и создаёт его.\n"
    "\n"
    "Код выхода: 0 — обычное завершение; 1 — --check нашёл ошибки, экспорт\n"
    "не записан, файл импорта отвергнут целиком или каталог не сохранён (каталог\n"
    "тогда не изменён); 2 — неверная командная строка.\n";

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
  std::optional<ПакетноеЗадание> задание;
  bool пробно = false;
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
    if (!параметры_кончились && (арг == "--check" || арг == "--export" || арг == "--import")) {
      if (задание) return ошибка("параметры --check, --export и --import не сочетаются");
      задание = ПакетноеЗадание{};
      задание->работа = арг == "--check"    ? ПакетнаяРабота::проверка
                        : арг == "--export" ? ПакетнаяРабота::экспорт
                                            : ПакетнаяРабота::импорт;
      if (задание->работа == ПакетнаяРабота::проверка) continue;
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty())
        return ошибка("после " + std::string(арг) + " нужно имя файла");
      задание->файл = argv[++i];
      continue;
    }
    if (!параметры_кончились && арг == "--dry-run") {
      пробно = true;
      continue;
    }
    if (!параметры_кончились && арг.size() > 1 && арг.front() == '-')
      return ошибка("неизвестный параметр " + в_кавычках(арг));
    if (папка) return ошибка("лишний аргумент " + в_кавычках(арг) + ": папка каталога указывается одна");
    папка = std::string(арг);
  }
  if (пробно && (!задание || задание->работа != ПакетнаяРабота::импорт))
    return ошибка("параметр --dry-run бывает только с --import");
  ЗапускПрограммы запуск;
  if (папка) {
    std::error_code ec;
    const fs::file_status вид = fs::status(*папка, ec);
    if (!fs::exists(вид)) return ошибка("папка " + в_кавычках(*папка) + " не существует");
    if (!fs::is_directory(вид)) return ошибка(в_кавычках(*папка) + " — не папка");
    if (::access(папка->c_str(), R_OK | X_OK) != 0) return ошибка("нет доступа к папке " + в_кавычках(*папка));
    fs::path полный = fs::absolute(*папка, ec);
    if (ec) полный = *папка;
    запуск.папка = полный.lexically_normal().string();
    while (запуск.папка.size() > 1 && запуск.папка.back() == '/') запуск.папка.pop_back();
  }
  if (задание) {
    задание->пробно = пробно;
    задание->запуск = std::move(запуск);
    return выполнить_пакетно(*задание);
  }
  сеанс().запуск = std::move(запуск);
  return std::nullopt;
}
