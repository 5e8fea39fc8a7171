// The export command (see catalogue_export.h); the table and the page are the core's (core/exchange_table.h).
#include "app/catalogue_export.h"

#include "app/catalogue_exchange.h"
#include "app/list_filter.h"
#include "app/shown_records.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "core/catalogue_folder.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/safe_write.h"

bool экспортировать_каталог() {
  std::optional<std::vector<ЗаписьБазы>> записи;
  if (const auto окно = окно_с_фильтром()) {
    const int ответ = dlg_Ask("Экспорт"_cps,
                              "В окне списка найдено записей: "_cps + std::to_string(показано_строк(*окно)) + " из "_cps +
                                  std::to_string(всего_строк(*окно)) + ".\nВыгрузить найденные записи или весь каталог?"_cps,
                              {"Найденные"_cps, "Весь каталог"_cps, "Отмена"_cps});
    if (ответ == 2) return false;
    if (ответ == 0) записи = показанные_записи(*окно);
  }
  std::vector<std::string> выбранные;
  const auto путь = dlg_GetFileName("каталог.csv"_cps, {"Таблица CSV"_cps, "*.csv", "Страница HTML"_cps, "*.html;*.htm"},
                                    "Экспорт каталога"_cps, {1}, папка_для_документов(), выбранные);
  if (!путь) return false;
  запомнить_папку_документов(*путь);
  if (!записи) записи = каталог_для_экспорта();
  try {
    RUN_ReplaceFile(*путь, текст_экспорта(*записи, *путь));
  } catch (const RunError& e) {
    dlg_MessageBox("Экспорт"_cps, текст_отказа("Не удалось записать файл «"_cps + *путь + "»"_cps, e),
                   mb_Error, mb_Ok, 0, mb_TaskModal);
    return false;
  }
  показать_в_строке_подсказки("Записано "_cps + записей_словами(записи->size()) + " в «"_cps + имя_файла(*путь) + "»"_cps);
  return true;
}
