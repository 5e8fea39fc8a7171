// The card's lines from the field table (see card_text.h).
#include "core/card_text.h"

#include "runtime/format.h"

namespace {

// Whether the field holds its default value (an empty text, the integer's default).
bool по_умолчанию(const ПолеКниги& п, const ЗаписьБазы& з) {
  return п.тип == ТипПоля::текст ? п.текст(з).empty() : п.число(з) == п.по_умолчанию;
}

}  // namespace

std::vector<СтрокаКарточки> поля_карточки(const ЗаписьБазы& з, const ТаблицаПолей& т) {
  std::vector<СтрокаКарточки> строки;
  for (const ПолеКниги& п : т)
    if (!п.метка_карточки.empty() && !(п.на_карточке_если_задано && по_умолчанию(п, з)))
      строки.push_back({std::string(п.метка_карточки) + "% ", текст_поля(п, з).value_or(std::string())});
  return строки;
}

std::vector<std::string> строки_карточки(const ЗаписьБазы& з, const ТаблицаПолей& т) {
  std::vector<std::string> строки;
  for (const СтрокаКарточки& строка : поля_карточки(з, т))
    строки.push_back(IO_FormatStr(строка.формат, {строка.значение}));
  return строки;
}

std::string текст_карточки(const ЗаписьБазы& з, const ТаблицаПолей& т) {
  std::string текст;
  for (const std::string& строка : строки_карточки(з, т)) текст += строка + "\n";
  return текст;
}
