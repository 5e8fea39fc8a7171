// The printed table's columns and cells from the field table (see printed_table.h).
#include "core/printed_table.h"

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
