// The import command (see catalogue_import.h): the plan, its summary and its change are the core's.
#include "app/catalogue_import.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/import_summary.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

}  // namespace

bool импортировать_каталог() {
  std::vector<std::string> выбранные;
  const auto путь = dlg_GetFileName("*.csv", {"Таблица CSV"_cps, "*.csv", "Все файлы"_cps, "*"}, "Импорт каталога"_cps, {},
                                    папка_для_документов(), выбранные);
  if (!путь) return false;
  запомнить_папку_документов(*путь);
  const std::string имя = имя_файла(*путь);
  const auto сообщить = [](const std::string& текст) {
    dlg_MessageBox("Импорт"_cps, текст, mb_Error, mb_Ok, 0, mb_TaskModal);
  };
  auto прочитано = байты_импорта(*путь, имя);
  if (const auto* отказ = std::get_if<ОтказФайла>(&прочитано)) {
    сообщить(отказ->причина);
    return false;
  }
  const std::string* байты = &std::get<std::string>(прочитано);
  std::optional<std::variant<ПланИмпорта, ОтказФайла>> итог;
  dlg_Progress("Импорт"_cps, "Чтение файла "_cps + в_кавычках(имя) + "…"_cps, static_cast<long long>(байты->size()),
               "Прервать"_cps, 500, [&](const ProgressReport& report) {
                 итог = разобрать_импорт(*байты, [&report](std::size_t n) { return report(static_cast<long long>(n)); });
                 return итог.has_value();
               });
  if (!итог) return false;
  if (const auto* отказ = std::get_if<ОтказФайла>(&*итог)) {
    сообщить("Импорт из файла "_cps + в_кавычках(имя) + " не выполнен.\n"_cps + отказ->причина);
    return false;
  }
  const ПланИмпорта& план = std::get<ПланИмпорта>(*итог);
  if (!dlg_итог_импорта_Create(uix_GetTaskWin(), план, имя) || план.новые.empty()) return false;
  std::optional<ИтогИзменения> сделано;
  try {
    dlg_Progress("Импорт"_cps, "Добавление записей…"_cps, static_cast<long long>(план.новые.size()), std::string(), 500,
                 [&](const ProgressReport& report) {
                   сделано = применить(операция_импорта(план, имя), 0,
                                       [&report](std::size_t n) { report(static_cast<long long>(n)); });
                   return true;
                 });
  } catch (const RunError& e) {
    if (e.code() != errcode::kIntOverflow) throw;
    сообщить("Записи не добавлены: их коды вышли бы за наибольшее допустимое число."_cps);
    return false;
  }
  if (!сделано) return false;
  if (сделано->сделано()) {
    показать_в_строке_подсказки("Добавлено "_cps + записей_словами(сделано->изменения.добавленные.size()) + " из "_cps +
                                в_кавычках(имя));
    return true;
  }
  сообщить("Записи не добавлены. "_cps + сделано->сообщение);
  return false;
}
