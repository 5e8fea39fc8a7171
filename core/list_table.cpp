// The list window's table as data: columns, cell texts and the rows' order by a column.
#include "core/list_table.h"

#include <algorithm>

#include "runtime/list_order.h"

std::vector<const ПолеКниги*> поля_таблицы(const ТаблицаПолей& table) {
  std::vector<const ПолеКниги*> out;
  for (const ПолеКниги& п : table)
    if (!п.в_таблице.empty()) out.push_back(&п);
  return out;
}

std::string текст_ячейки(const ПолеКниги& field, const ЗаписьБазы& record) {
  return текст_поля(field, record).value_or(std::string());
}

namespace {

// The text a record is ordered by in a column of words or text: its display word, or its text.
std::string_view текст_порядка(const ПолеКниги& field, const ЗаписьБазы& record) {
  if (field.тип == ТипПоля::текст) return field.текст(record);
  return слово_поля(field, field.число(record)).value_or(std::string_view());
}

}  // namespace

int сравнить_по_полю(const ПолеКниги& field, const ЗаписьБазы& a, const ЗаписьБазы& b) {
  if (field.тип == ТипПоля::число && !field.слова) {
    const std::int32_t x = field.число(a), y = field.число(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return PSTR_ListCompare(текст_порядка(field, a), текст_порядка(field, b));
}

void упорядочить_строки(std::vector<std::uint32_t>& rows, const std::vector<const ЗаписьБазы*>& records,
                        const ПолеКниги& field, bool ascending) {
  if (field.тип == ТипПоля::число && !field.слова) {
    // Numbers are read once: a hundred thousand rows are sorted by plain integers.
    std::vector<std::int32_t> значения(records.size());
    for (const std::uint32_t r : rows) значения[r] = field.число(*records[r]);
    std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t x, std::uint32_t y) {
      return ascending ? значения[x] < значения[y] : значения[y] < значения[x];
    });
    return;
  }
  std::vector<std::string_view> тексты(records.size());
  for (const std::uint32_t r : rows) тексты[r] = текст_порядка(field, *records[r]);
  std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t x, std::uint32_t y) {
    return ascending ? PSTR_ListCompare(тексты[x], тексты[y]) < 0 : PSTR_ListCompare(тексты[y], тексты[x]) < 0;
  });
}
