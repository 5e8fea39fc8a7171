// The one input step of the import fuzzer, shared by the fuzzer and the corpus test of the normal
// build: arbitrary bytes are read as a table of records against a small catalogue (the reader,
// its encodings, its columns and its checks), and what the plan holds is checked: its lists
// stay bounded, every record it adds is one the catalogue can hold, and the records, written as
// the export writes them and read again into an empty catalogue, come back the same, with
// nothing refused or passed over. Anything else (a crash, a sanitizer report, a broken check) is
// a fault.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/exchange_table.h"
#include "core/import_plan.h"
#include "runtime/codepage.h"

namespace fuzz_import {

[[noreturn]] inline void broken(const char* what) {
  std::fputs(what, stderr);
  std::abort();
}

// The catalogue the bytes are read against: a record, categories and kinds to be found again in
// other letter case.
inline void small_catalogue() {
  очистить_каталог();
  база_лит.assertz({3, "Толстой Л. Н."_cps, "Война и мир"_cps, "Роман"_cps, "Книга"_cps, 1, 1, "voyna.bmp"});
  база_лит.assertz({4, "Ёлкин"_cps, std::string(), std::string(), std::string(), 2, -1, std::string()});
  for (const char* к : {"Роман", "Поэзия", "Драма"}) категории_лит.assertz(cp1251::from_utf8(к));
  for (const char* в : {"Книга", "Журнал"}) виды_лит.assertz(cp1251::from_utf8(в));
}

// Whether a value is one the import may give: not longer than the longest value, no control
// character but a tab and a line break.
inline bool value_ok(const std::string& v) {
  if (v.size() > kДлиннейшееЗначение) return false;
  for (const char c : v)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') return false;
  return true;
}

inline void run_one(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  small_catalogue();
  const auto first = разобрать_импорт(bytes);
  if (!first) broken("a reading without a report stopped\n");
  const auto* plan = std::get_if<ПланИмпорта>(&*first);
  if (plan == nullptr) {
    очистить_каталог();
    return;  // the file refused as a whole
  }
  if (plan->отказы.size() > kЗамечанийВПлане || plan->пропуски.size() > kЗамечанийВПлане ||
      plan->замены.size() > kЗамечанийВПлане || plan->отказы.size() > plan->отказов ||
      plan->пропуски.size() > plan->пропусков ||
      plan->пропусков != plan->повторы_каталога + plan->повторы_файла + plan->повторы_заголовка)
    broken("the lists of the plan are not bounded or do not add up\n");

  std::vector<ЗаписьБазы> records = plan->новые.все();
  if (records.size() != plan->новые.size()) broken("the plan holds another number of records than it says\n");
  std::size_t categories = 0, kinds = 0;
  plan->новые.для_каждой([&](const ЗаписьБазы& з, bool новая_категория, bool новый_вид) {
    categories += новая_категория;
    kinds += новый_вид;
    for (const std::string* v : {&з.автор, &з.наименование, &з.категория, &з.вид, &з.обложка})
      if (!value_ok(*v)) broken("a record to add holds a value the import refuses\n");
  });
  if (categories != plan->новых_категорий || kinds != plan->новых_видов) broken("new categories or kinds miscounted\n");

  // The records as the export writes them, read into an empty catalogue: the same, in order.
  for (std::size_t i = 0; i < records.size(); ++i) records[i].код = static_cast<std::int32_t>(i + 1);
  const std::string table = записи_в_csv(records);
  очистить_каталог();
  const auto second = разобрать_импорт(table);
  const auto* again = second ? std::get_if<ПланИмпорта>(&*second) : nullptr;
  if (again == nullptr) broken("the export of the records is refused as a whole\n");
  if (again->отказов != 0 || again->пропусков != 0 || !again->замены.empty())
    broken("the export of the records has rows refused, passed over or changed\n");
  std::vector<ЗаписьБазы> back = again->новые.все();
  for (ЗаписьБазы& з : records) з.код = 0;
  if (back != records) broken("the records changed on their way through the export\n");
  очистить_каталог();
}

}  // namespace fuzz_import
