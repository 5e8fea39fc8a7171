// The program's field table, the entries of record members, and what every view reads through
// a table: display words, a field's text, the duplicate key, the list line's format.
#include "core/book_fields.h"

#include <cstring>
#include <utility>

#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {

// A directive of the list line's format: "%[-]<width>.<precision>".
std::string директива(const КолонкаСтроки& к) {
  return "%" + std::string(к.выравнивание == Выравнивание::влево ? "-" : "") + std::to_string(к.ширина) + "." +
         std::to_string(к.точность);
}

ТаблицаПолей таблица_программы() {
  using В = Выравнивание;
  ПолеКниги код = поле_записи("код"_cp, &ЗаписьБазы::код);
  код.название = "Код"_cp;
  код.в_строке = КолонкаСтроки{5, 5, В::вправо};
  код.в_печати = КолонкаПечати{5, В::вправо};
  код.код = true;

  const auto текст = [](std::string_view имя, std::string ЗаписьБазы::*член, std::string_view название,
                        std::string_view метка, std::optional<КолонкаСтроки> строка,
                        std::optional<КолонкаПечати> печать) {
    ПолеКниги п = поле_записи(имя, член);
    п.название = название;
    п.метка_карточки = метка;
    п.в_строке = строка;
    п.в_печати = печать;
    п.в_ключе_повтора = true;
    п.ищется = true;
    return п;
  };
  const auto флаг = [](std::string_view имя, std::int32_t ЗаписьБазы::*член, std::string_view название,
                       std::string_view метка, КолонкаСтроки строка, КолонкаПечати печать, СловаПоля слова) {
    ПолеКниги п = поле_записи(имя, член);
    п.название = название;
    п.метка_карточки = метка;
    п.в_строке = строка;
    п.в_печати = печать;
    п.слова = слова;
    п.в_ключе_повтора = true;
    return п;
  };

  return ТаблицаПолей({
      std::move(код),
      текст("автор"_cp, &ЗаписьБазы::автор, "Автор"_cp, "Автор:\t\t\t"_cp, КолонкаСтроки{20, 18, В::вправо},
            КолонкаПечати{18, В::влево}),
      текст("наименование"_cp, &ЗаписьБазы::наименование, "Наименование"_cp, "Наименование:\t\t"_cp,
            КолонкаСтроки{30, 25, В::влево}, КолонкаПечати{27, В::влево}),
      текст("категория"_cp, &ЗаписьБазы::категория, "Категория"_cp, "Категория:\t\t"_cp,
            КолонкаСтроки{10, 10, В::вправо}, КолонкаПечати{13, В::влево}),
      // The kind is kept and searched, but neither listed, printed nor on the card.
      текст("вид"_cp, &ЗаписьБазы::вид, "Вид"_cp, {}, std::nullopt, std::nullopt),
      флаг("диск"_cp, &ЗаписьБазы::диск, "Диск"_cp, "Диск:\t\t\t"_cp, КолонкаСтроки{4, 4, В::вправо},
           КолонкаПечати{6, В::влево}, СловаПоля{"Нет"_cp, "Есть"_cp}),
      // The card's label is spelled "Переплет", every column "Переплёт".
      флаг("переплет"_cp, &ЗаписьБазы::переплет, "Переплёт"_cp, "Переплет:\t\t"_cp, КолонкаСтроки{8, 8, В::вправо},
           КолонкаПечати{9, В::влево}, СловаПоля{"Мягкий"_cp, "Твёрдый"_cp}),
      текст("обложка"_cp, &ЗаписьБазы::обложка, "Обложка"_cp, "Обложка:\t\t"_cp, КолонкаСтроки{20, 20, В::вправо},
            КолонкаПечати{14, В::влево}),
  });
}

void добавить_число(std::string& out, std::uint32_t n) {
  char bytes[sizeof n];
  std::memcpy(bytes, &n, sizeof n);
  out.append(bytes, sizeof n);
}

}  // namespace

ТаблицаПолей::ТаблицаПолей(std::vector<ПолеКниги> fields) : поля_(std::move(fields)) {
  std::size_t кодов = 0;
  for (std::size_t i = 0; i < поля_.size(); ++i) {
    const ПолеКниги& п = поля_[i];
    if (п.код) {
      код_ = i;
      ++кодов;
    }
    if (!п.в_строке) continue;
    if (!формат_строки_.empty()) формат_строки_ += '|';
    формат_строки_ += директива(*п.в_строке);
  }
  if (кодов != 1 || поля_[код_].тип != ТипПоля::число) RUN_Error(errcode::kNoCase);
}

const ПолеКниги* ТаблицаПолей::поле(std::string_view имя) const {
  for (const ПолеКниги& п : поля_)
    if (п.имя == имя) return &п;
  return nullptr;
}

const ТаблицаПолей& поля_книги() {
  static const ТаблицаПолей таблица = таблица_программы();
  return таблица;
}

ПолеКниги поле_записи(std::string_view имя, std::string ЗаписьБазы::*member) {
  ПолеКниги п;
  п.имя = имя;
  п.тип = ТипПоля::текст;
  п.текст = [member](const ЗаписьБазы& з) { return std::string_view(з.*member); };
  п.задать_текст = [member](ЗаписьБазы& з, std::string v) { з.*member = std::move(v); };
  п.таблица = "база_лит"_cp;
  return п;
}

ПолеКниги поле_записи(std::string_view имя, std::int32_t ЗаписьБазы::*member) {
  ПолеКниги п;
  п.имя = имя;
  п.тип = ТипПоля::число;
  п.число = [member](const ЗаписьБазы& з) { return з.*member; };
  п.задать_число = [member](ЗаписьБазы& з, std::int32_t v) { з.*member = v; };
  п.таблица = "база_лит"_cp;
  return п;
}

std::optional<std::string_view> слово_поля(const ПолеКниги& поле, std::int32_t value) {
  if (!поле.слова) return std::nullopt;
  if (value == 0) return поле.слова->при_нуле;
  if (value == 1) return поле.слова->при_единице;
  return std::nullopt;
}

std::optional<std::string> текст_поля(const ПолеКниги& поле, const ЗаписьБазы& record) {
  if (поле.тип == ТипПоля::текст) return std::string(поле.текст(record));
  const std::int32_t n = поле.число(record);
  if (!поле.слова) return std::to_string(n);
  const auto слово = слово_поля(поле, n);
  if (!слово) return std::nullopt;
  return std::string(*слово);
}

void ключ_повтора(const ЗаписьБазы& record, std::string& out, const ТаблицаПолей& table) {
  for (const ПолеКниги& п : table) {
    if (!п.в_ключе_повтора) continue;
    if (п.тип == ТипПоля::число) {
      добавить_число(out, static_cast<std::uint32_t>(п.число(record)));
      continue;
    }
    const std::string_view текст = п.текст(record);
    добавить_число(out, static_cast<std::uint32_t>(текст.size()));
    out += текст;
  }
}

std::string ключ_повтора(const ЗаписьБазы& record, const ТаблицаПолей& table) {
  std::string out;
  ключ_повтора(record, out, table);
  return out;
}

std::optional<std::string> вид_переплета(std::int32_t переплет) {
  const auto слово = слово_поля(*поля_книги().поле("переплет"_cp), переплет);
  return слово ? std::optional<std::string>(*слово) : std::nullopt;
}

std::optional<std::string> наличиедиска(std::int32_t диск) {
  const auto слово = слово_поля(*поля_книги().поле("диск"_cp), диск);
  return слово ? std::optional<std::string>(*слово) : std::nullopt;
}
