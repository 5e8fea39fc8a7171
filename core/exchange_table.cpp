// The columns of an exchanged table and its CSV text (see exchange_table.h).
#include "core/exchange_table.h"

#include "core/csv_table.h"

std::string значение_колонки(const ЗаписьБазы& з, Колонка к) {
  switch (к) {
    case Колонка::код: return std::to_string(з.код);
    case Колонка::автор: return з.автор;
    case Колонка::наименование: return з.наименование;
    case Колонка::категория: return з.категория;
    case Колонка::вид: return з.вид;
    case Колонка::диск: return наличиедиска(з.диск).value_or(std::to_string(з.диск));
    case Колонка::переплёт: return вид_переплета(з.переплет).value_or(std::to_string(з.переплет));
    case Колонка::обложка: return з.обложка;
  }
  return std::string();
}

std::string записи_в_csv(const std::vector<ЗаписьБазы>& records) {
  // The quoting looks at ASCII bytes only, which both encodings share: the table is made in
  // cp1251 and turned into UTF-8 at once.
  std::string out;
  out.reserve(records.size() * 100 + 100);
  bool первое = true;
  for (const Колонка к : kПорядокКолонок) {
    if (!первое) out.push_back(',');
    первое = false;
    добавить_поле_csv(out, имя_колонки(к));
  }
  out += "\r\n";
  for (const ЗаписьБазы& з : records) {
    первое = true;
    for (const Колонка к : kПорядокКолонок) {
      if (!первое) out.push_back(',');
      первое = false;
      добавить_значение_csv(out, значение_колонки(з, к));
    }
    out += "\r\n";
  }
  return std::string(kМеткаПорядкаБайтов) + cp1251::to_utf8(out);
}
