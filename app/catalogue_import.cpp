// Carrying out the plan of an import, and the import command (see catalogue_import.h).
#include "app/catalogue_import.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/catalogue_exchange.h"
#include "app/import_summary.h"
#include "app/session.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/err_words.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

namespace {

constexpr std::size_t kСтрокМеждуОтчётами = 1024;

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

}  // namespace

void выполнить_импорт(const ПланИмпорта& план, const std::function<void(std::size_t)>& report) {
  std::optional<std::int32_t> наибольший;
  for (auto v : база_лит.views()) наибольший = std::max(наибольший.value_or(INT32_MIN), v[&ЗаписьБазы::код]);
  const std::int64_t первый = наибольший ? std::int64_t{*наибольший} + 1 : 1;
  if (первый + static_cast<std::int64_t>(план.новые.size()) - 1 > INT32_MAX) RUN_Error(errcode::kIntOverflow);

  std::vector<std::string> категории, виды;  // those the records bring, in the file's order
  std::int64_t код = первый;
  план.новые.для_каждой([&](const ЗаписьБазы& запись, bool новая_категория, bool новый_вид) {
    ЗаписьБазы з = запись;
    з.код = static_cast<std::int32_t>(код++);
    база_лит.asserta(з);
    if (новая_категория) категории.push_back(з.категория);
    if (новый_вид) виды.push_back(з.вид);
    if (report && (код - первый) % kСтрокМеждуОтчётами == 0) report(static_cast<std::size_t>(код - первый));
  });
  for (const std::string& к : категории) категории_лит.assertz(к);
  for (const std::string& в : виды) виды_лит.assertz(в);
  try {
    сохранить_основную_базу();
  } catch (...) {
    // Nothing of the import stays: the new records are those with the new codes.
    база_лит.retract_all([&](const ЗаписьБазы& з) { return з.код >= первый; });
    for (const std::string& к : категории) категории_лит.retract(к);
    for (const std::string& в : виды) виды_лит.retract(в);
    throw;
  }
  if (report) report(план.новые.size());
  std::vector<std::int32_t> коды;  // as a new code leaves the codes list: every code in table order
  for (auto v : база_лит.views()) коды.push_back(v[&ЗаписьБазы::код]);
  списоккодов.set(коды);
  if (!категории.empty()) сохранить_категории();
  if (!виды.empty()) сохранить_виды();
}

bool импортировать_каталог() {
  std::vector<std::string> выбранные;
  const auto путь = dlg_GetFileName("*.csv", {"Таблица CSV"_cps, "*.csv", "Все файлы"_cps, "*"}, "Импорт каталога"_cps, {},
                                    std::string(), выбранные);
  if (!путь) return false;
  const std::string имя = путь->substr(путь->find_last_of('/') == std::string::npos ? 0 : путь->find_last_of('/') + 1);
  const auto сообщить = [](const std::string& текст) {
    dlg_MessageBox("Импорт"_cps, текст, mb_Error, mb_Ok, 0, mb_TaskModal);
  };
  std::optional<std::string> байты;
  try {
    байты = IO_RdFileBytes(*путь, kНаибольшийФайлИмпорта);
  } catch (const RunError& e) {
    сообщить(текст_отказа("Не удалось прочитать файл "_cps + в_кавычках(имя), e));
    return false;
  }
  if (!байты) {
    сообщить("Файл "_cps + в_кавычках(имя) + " слишком велик для импорта: больше 256 МБ."_cps);
    return false;
  }
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
  const std::size_t было = база_лит.count();
  try {
    dlg_Progress("Импорт"_cps, "Добавление записей…"_cps, static_cast<long long>(план.новые.size()), std::string(), 500,
                 [&](const ProgressReport& report) {
                   выполнить_импорт(план, [&report](std::size_t n) { report(static_cast<long long>(n)); });
                   return true;
                 });
  } catch (const RunError& e) {
    const bool записи_добавлены = база_лит.count() != было;
    if (e.code() == errcode::kIntOverflow)
      сообщить("Записи не добавлены: их коды вышли бы за наибольшее допустимое число."_cps);
    else if (errcode::host_number(e.code()) > 0 && !записи_добавлены)
      сообщить("Записи не добавлены: каталог сохранить не удалось ("_cps + причина_ошибки_файла(e) + ").\n"_cps +
               ERR_ErrorAdvice(e.code()));
    else if (errcode::host_number(e.code()) > 0)
      сообщить("Записи добавлены, но новые категории или виды сохранить не удалось ("_cps + причина_ошибки_файла(e) +
               ").\n"_cps + ERR_ErrorAdvice(e.code()));
    else
      throw;
    return записи_добавлены;
  }
  return true;
}
