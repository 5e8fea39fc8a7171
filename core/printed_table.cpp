// The printed table's columns and cells from the field table (see printed_table.h).
#include "core/printed_table.h"

#include <algorithm>

#include "core/list_table.h"
#include "runtime/codepage.h"

std::vector<КолонкаПечатнойТаблицы> колонки_печати(const ТаблицаПолей& т) {
  std::vector<КолонкаПечатнойТаблицы> колонки;
  for (const ПолеКниги& п : т)
    if (п.в_печати) колонки.push_back({std::string(п.название), п.в_печати->ширина, п.в_печати->выравнивание});
  return колонки;
}

void ячейки_печати(const ЗаписьБазы& з, std::vector<std::string>& cells, const ТаблицаПолей& т) {
  cells.clear();
  for (const ПолеКниги& п : т)
    if (п.в_печати) cells.push_back(текст_поля(п, з).value_or(std::string()));
}

namespace {

// A field's share of the printed width when the printed table has no column of it.
int доля(const ПолеКниги& п) {
  if (п.в_печати) return п.в_печати->ширина;
  const int по_строке = п.в_строке ? п.в_строке->ширина : 0;
  return std::max({по_строке, static_cast<int>(п.название.size()), 6});
}

bool всегда(const ПолеКниги& п, const ТаблицаПолей& т) {
  return &п == &т.код() || п.имя == "автор"_cp || п.имя == "наименование"_cp;
}

}  // namespace

std::vector<КолонкаПечатиСписка> колонки_печати_списка(const std::vector<std::string>& chosen, const ТаблицаПолей& т) {
  const auto выбрана = [&chosen](std::string_view название) {
    return std::find(chosen.begin(), chosen.end(), название) != chosen.end();
  };
  std::vector<КолонкаПечатиСписка> out;
  for (const ПолеКниги* п : поля_таблицы(т)) {
    if (!всегда(*п, т) && !выбрана(п->в_таблице)) continue;
    const Выравнивание выравнивание =
        п->в_печати ? п->в_печати->выравнивание
                    : (п->тип == ТипПоля::число && !п->слова ? Выравнивание::вправо : Выравнивание::влево);
    out.push_back({п, {std::string(п->в_таблице), доля(*п), выравнивание}, {}});
  }
  if (выбрана(название_колонки_на_руках()))
    out.push_back({nullptr, {std::string(название_колонки_на_руках()), 20, Выравнивание::влево}, {}});
  return out;
}

void ячейки_печати_списка(const ЗаписьБазы& з, const std::vector<КолонкаПечатиСписка>& columns,
                          const std::unordered_map<std::int32_t, std::string>& на_руках,
                          std::vector<std::string>& cells) {
  cells.clear();
  for (const КолонкаПечатиСписка& к : columns) {
    if (к.поле) {
      cells.push_back(текст_ячейки(*к.поле, з));
      continue;
    }
    const auto it = на_руках.find(з.код);
    cells.push_back(it == на_руках.end() ? std::string() : it->second);
  }
}

void слова_колонок(std::vector<КолонкаПечатиСписка>& columns, const std::vector<ЗаписьБазы>& records,
                   const std::unordered_map<std::int32_t, std::string>& на_руках) {
  constexpr std::size_t kДлиннейшее = 20;
  std::vector<std::string> ячейки;
  for (const ЗаписьБазы& з : records) {
    ячейки_печати_списка(з, columns, на_руках, ячейки);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string_view т = ячейки[c];
      for (std::size_t i = 0; i < т.size();) {
        const std::size_t начало = т.find_first_not_of(' ', i);
        if (начало == std::string_view::npos) break;
        const std::size_t конец = std::min(т.find(' ', начало), т.size());
        const std::size_t длина = конец - начало;
        if (длина <= kДлиннейшее && длина > columns[c].неразрывно.size())
          columns[c].неразрывно = std::string(т.substr(начало, длина));
        i = конец;
      }
    }
  }
}
