// The command line's work on the catalogue (see catalogue_batch.h).
#include "app/catalogue_batch.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "app/first_start.h"
#include "core/catalogue_check.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "core/change_path.h"
#include "core/exchange_table.h"
#include "core/import_plan.h"
#include "core/record_codes.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "runtime/scope_exit.h"
#include "server/server_catalogue.h"

namespace fs = std::filesystem;

namespace {

// A text of the program (cp1251) on a stream of the terminal, in UTF-8, with a line end.
void вывести(std::FILE* поток, std::string_view текст) {
  const std::string utf8 = cp1251::to_utf8(текст);
  std::fwrite(utf8.data(), 1, utf8.size(), поток);
  std::fputc('\n', поток);
}

int отказ(std::string_view текст) {
  std::fputs("foliarkh: ", stderr);
  вывести(stderr, текст);
  return 1;
}

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

void сказать_о_файле(const std::string& текст) { вывести(stderr, текст); }

// The problems of the folder's files, one line each.
void вывести_ошибки(std::FILE* поток, const std::vector<ОшибкаФайла>& ошибки) {
  for (const ОшибкаФайла& о : ошибки)
    вывести(поток, std::string(о.файл) + (о.строка ? ":"_cps + std::to_string(о.строка) : std::string()) + ": "_cps +
                       о.причина);
}

// The server catalogue of the command line, connected; null, with the reason told on standard
// error, when it cannot be had.
std::unique_ptr<ХранилищеСервера> подключиться(const std::string& uri) {
  std::string почему;
  const auto адрес = разобрать_адрес(uri, &почему);
  if (!адрес) {
    отказ("неверный адрес сервера "_cps + в_кавычках(cp1251::from_utf8(uri)) + ": "_cps + почему);
    return nullptr;
  }
  ОткрытиеСервера о = открыть_сервер(*адрес);
  if (!о.хранилище) отказ(о.ошибка);
  return std::move(о.хранилище);
}

// Why a section could not be read from the server, for the check's line and the refusal.
std::string почему_не_прочитан(const RunError& e) {
  if (ERR_IsHostCondition(e.code())) return ERR_ErrorWords(e.code());
  return "строку данных программа не понимает (ошибка "_cps + std::to_string(e.code()) + ")"_cps;
}

// Reads every section loaded at opening from the server storage set behind the seam; the
// sections that do not load, one line each on `поток` ("ИМЯ_ФАЙЛА: причина").
std::size_t загрузить_с_сервера(std::FILE* поток) {
  std::size_t ошибок = 0;
  очистить_каталог();
  for (const РазделКаталога& раздел : разделы_каталога()) {
    if (!раздел.при_открытии) continue;
    try {
      загрузить_раздел(раздел);
    } catch (const RunError& e) {
      ++ошибок;
      вывести(поток, std::string(раздел.файл) + ": "_cps + почему_не_прочитан(e));
    }
  }
  получитьсписоккодов();
  return ошибок;
}

// Opens the catalogue of the current directory as the program's start does; false, with the
// problems told on standard error, when its files do not all load. With a server catalogue set
// behind the seam, its sections are read from the server.
bool открыть_каталог() {
  if (dynamic_cast<ХранилищеСервера*>(&хранилище_каталога())) {
    if (загрузить_с_сервера(stderr) == 0) return true;
    отказ("каталог на сервере прочитан с ошибками (выше); ничего не сделано."_cps);
    return false;
  }
  const std::vector<ОшибкаФайла> ошибки = проверить_файлы_каталога();
  if (!ошибки.empty()) {
    вывести_ошибки(stderr, ошибки);
    отказ("каталог прочитан с ошибками (выше); ничего не сделано. Проверка: foliarkh --check"_cps);
    return false;
  }
  очистить_каталог();
  for (const РазделКаталога& раздел : разделы_каталога())
    if (раздел.при_открытии) загрузить_раздел(раздел);
  получитьсписоккодов();
  return true;
}

int экспортировать(const std::string& файл) {
  if (!открыть_каталог()) return 1;
  try {
    RUN_ReplaceFile(файл, текст_экспорта(каталог_для_экспорта(), файл));
  } catch (const RunError& e) {
    return отказ(текст_отказа("Не удалось записать файл "_cps + в_кавычках(файл), e));
  }
  return 0;
}

int импортировать(const std::string& файл, bool пробно) {
  if (!открыть_каталог()) return 1;
  const std::string имя = файл.substr(файл.find_last_of('/') == std::string::npos ? 0 : файл.find_last_of('/') + 1);
  auto прочитано = байты_импорта(файл, имя);
  if (const auto* о = std::get_if<ОтказФайла>(&прочитано)) return отказ(о->причина);
  const auto итог = разобрать_импорт(std::get<std::string>(прочитано));
  if (const auto* о = std::get_if<ОтказФайла>(&*итог))
    return отказ("Импорт из файла "_cps + в_кавычках(имя) + " не выполнен.\n"_cps + о->причина);
  const ПланИмпорта& план = std::get<ПланИмпорта>(*итог);
  вывести(stdout, итог_импорта(план, имя));
  std::size_t ошибок = 0;
  for (const std::string& строка : замечания_импорта(план, ошибок)) вывести(stdout, строка);
  if (пробно) {
    вывести(stdout, "Пробный импорт: каталог не изменён."_cps);
    return 0;
  }
  if (план.новые.empty()) {
    вывести(stdout, "Добавлять нечего: каталог не изменён."_cps);
    return 0;
  }
  ИтогИзменения сделано;
  try {
    сделано = применить(операция_импорта(план, имя));
  } catch (const RunError& e) {
    if (e.code() != errcode::kIntOverflow) throw;
    return отказ("Записи не добавлены: их коды вышли бы за наибольшее допустимое число."_cps);
  }
  if (!сделано.сделано()) return отказ("Записи не добавлены. "_cps + сделано.сообщение);
  вывести(stdout, "Добавлено записей: "_cps + std::to_string(план.новые.size()) + "."_cps);
  return 0;
}

// The folder's catalogue copied into the server's empty one.
int перенести(const std::string& uri) {
  if (!открыть_каталог()) return 1;
  if (RUN_FileExists(файл_настроек)) загрузить_раздел(*раздел_секции(секция_настроек));
  const auto сервер = подключиться(uri);
  if (!сервер) return 1;
  if (const auto почему = перенести_каталог(*сервер)) return отказ(*почему);
  вывести(stdout, "Каталог перенесён на сервер "_cps + в_кавычках(сервер->адрес().показ()) + ": записей "_cps +
                      std::to_string(база_лит.count()) + ", категорий "_cps + std::to_string(категории_лит.count()) +
                      ", видов "_cps + std::to_string(виды_лит.count()) + "."_cps);
  return 0;
}

}  // namespace

int выполнить_пакетно(const ПакетноеЗадание& задание) {
  // The table's name is the caller's, taken before the catalogue's folder becomes the current one.
  std::error_code ec;
  const std::string файл =
      задание.файл.empty() ? std::string() : RUN_FromHostPath(fs::absolute(задание.файл, ec).lexically_normal().string());
  задать_сообщение_о_файлах(сказать_о_файле);
  if (!задание.запуск.сервер.empty()) {
    auto сервер = подключиться(задание.запуск.сервер);
    if (!сервер) return 1;
    задать_хранилище_каталога(std::move(сервер));
    const auto отключиться = on_scope_exit([] { задать_хранилище_каталога(nullptr); });
    switch (задание.работа) {
      case ПакетнаяРабота::проверка: return загрузить_с_сервера(stdout) == 0 ? 0 : 1;
      case ПакетнаяРабота::экспорт: return экспортировать(файл);
      case ПакетнаяРабота::импорт: return импортировать(файл, задание.пробно);
      case ПакетнаяРабота::перенос: break;
    }
    return 1;
  }
  const std::string папка = папка_запуска(задание.запуск);
  if (папка.empty() || ::chdir(папка.c_str()) != 0)
    return отказ(текст_отказа("Не удалось войти в папку каталога "_cps + в_кавычках(RUN_FromHostPath(папка)), errno));
  switch (задание.работа) {
    case ПакетнаяРабота::проверка: {
      const std::vector<ОшибкаФайла> ошибки = проверить_файлы_каталога();
      вывести_ошибки(stdout, ошибки);
      return ошибки.empty() ? 0 : 1;
    }
    case ПакетнаяРабота::экспорт: return экспортировать(файл);
    case ПакетнаяРабота::импорт: return импортировать(файл, задание.пробно);
    case ПакетнаяРабота::перенос: return перенести(задание.куда);
  }
  return 1;
}
