// The program's field table, the entries of record members, and what every view reads through
// a table: display words, a field's text, the duplicate key, the list line's format.
#include "core/book_fields.h"

#include <chrono>
#include <utility>

#include "core/book_details.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {

// A directive of the list line's format: "%[-]<width>.<precision>".
std::string директива(const КолонкаСтроки& к) {
  return "%" + std::string(к.выравнивание == Выравнивание::влево ? "-" : "") + std::to_string(к.ширина) + "." +
         std::to_string(к.точность);
}

int текущий_год() {
  const std::chrono::year_month_day сегодня{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  return static_cast<int>(сегодня.year());
}

// A detail kept in the section of details (сведения_лит), under its caption, on the card after
// the record's own lines while it holds something, searched when it is a text.
// What every detail field has: its name, caption and card label, kept in сведения_лит, on the card
// while it holds something.
ПолеКниги поле_сведений(std::string_view имя, ТипПоля тип, ПолеСведений какое, std::string_view метка) {
  ПолеКниги п;
  п.имя = имя;
  п.тип = тип;
  п.название = название_сведения(какое);
  п.метка_карточки = метка;
  п.на_карточке_если_задано = true;
  п.таблица = "сведения_лит"_cp;
  return п;
}

ПолеКниги текст_сведений_поле(std::string_view имя, std::string СведенияКниги::*член, ПолеСведений какое,
                              std::string_view метка) {
  ПолеКниги п = поле_сведений(имя, ТипПоля::текст, какое, метка);
  п.текст = [член](const ЗаписьБазы& з) { return текст_сведений(з, член); };
  п.задать_текст = [член](ЗаписьБазы& з, std::string v) {
    if (!з.сведения) з.сведения = сведения_книги(з.код);
    (*з.сведения).*член = std::move(v);
  };
  п.ищется = true;
  return п;
}

ПолеКниги число_сведений_поле(std::string_view имя, std::int32_t СведенияКниги::*член, ПолеСведений какое,
                              std::string_view метка) {
  ПолеКниги п = поле_сведений(имя, ТипПоля::число, какое, метка);
  п.число = [член](const ЗаписьБазы& з) { return число_сведений(з, член); };
  п.задать_число = [член](ЗаписьБазы& з, std::int32_t v) {
    if (!з.сведения) з.сведения = сведения_книги(з.код);
    (*з.сведения).*член = v;
  };
  п.по_умолчанию = СведенияКниги{}.*член;
  return п;
}

ТаблицаПолей таблица_программы() {
  using В = Выравнивание;
  ПолеКниги код = поле_записи("код"_cp, &ЗаписьБазы::код);
  код.название = "Код"_cp;
  код.в_строке = КолонкаСтроки{5, 5, В::вправо};
  код.в_печати = КолонкаПечати{5, В::вправо};
  код.код = true;
  код.в_таблице = код.название;

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
    п.в_таблице = название;
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
    п.в_таблице = название;
    return п;
  };
  using П = ПолеСведений;
  ПолеКниги год = число_сведений_поле("год"_cp, &СведенияКниги::год, П::год, "Год издания:\t\t"_cp);
  год.ноль_пусто = true;
  год.другие_названия = {"Год"_cp};
  год.в_таблице = "Год"_cp;
  год.число_из_ввода = [](std::string_view v) { return год_издания(v, текущий_год()); };
  год.что_ожидается = "года издания (четыре цифры)"_cp;
  ПолеКниги издательство = текст_сведений_поле("издательство"_cp, &СведенияКниги::издательство, П::издательство,
                                               "Издательство:\t\t"_cp);
  издательство.другие_названия = {"Издатель"_cp};
  издательство.в_таблице = издательство.название;
  ПолеКниги место = текст_сведений_поле("место"_cp, &СведенияКниги::место, П::место, "Место издания:\t\t"_cp);
  место.другие_названия = {"Место"_cp, "Город"_cp};
  ПолеКниги isbn = текст_сведений_поле("isbn", &СведенияКниги::isbn, П::isbn, "ISBN:\t\t\t");
  isbn.в_таблице = isbn.название;
  isbn.текст_из_ввода = isbn_для_хранения;
  isbn.что_ожидается = "ISBN (10 или 13 цифр с верной контрольной)"_cp;
  ПолеКниги шифр = текст_сведений_поле("шифр"_cp, &СведенияКниги::шифр, П::шифр, "Шифр:\t\t\t"_cp);
  шифр.в_таблице = шифр.название;
  ПолеКниги экземпляров = число_сведений_поле("экземпляров"_cp, &СведенияКниги::экземпляров, П::экземпляров,
                                              "Экземпляров:\t\t"_cp);
  экземпляров.другие_названия = {"Экземпляры"_cp, "Количество"_cp};
  экземпляров.число_из_ввода = число_экземпляров;
  экземпляров.что_ожидается = "числа экземпляров (от 1 до 999)"_cp;
  ПолеКниги страниц = число_сведений_поле("страниц"_cp, &СведенияКниги::страниц, П::страниц, "Страниц:\t\t"_cp);
  страниц.ноль_пусто = true;
  страниц.другие_названия = {"Страницы"_cp};
  страниц.число_из_ввода = число_страниц;
  страниц.что_ожидается = "числа страниц"_cp;
  ПолеКниги примечание =
      текст_сведений_поле("примечание"_cp, &СведенияКниги::примечание, П::примечание, "Примечание:\t\t"_cp);

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
      std::move(год),
      std::move(издательство),
      std::move(место),
      std::move(isbn),
      std::move(шифр),
      флаг("диск"_cp, &ЗаписьБазы::диск, "Диск"_cp, "Диск:\t\t\t"_cp, КолонкаСтроки{4, 4, В::вправо},
           КолонкаПечати{6, В::влево}, СловаПоля{"Нет"_cp, "Есть"_cp}),
      // The card's label is spelled "Переплет", every column "Переплёт".
      флаг("переплет"_cp, &ЗаписьБазы::переплет, "Переплёт"_cp, "Переплет:\t\t"_cp, КолонкаСтроки{8, 8, В::вправо},
           КолонкаПечати{9, В::влево}, СловаПоля{"Мягкий"_cp, "Твёрдый"_cp}),
      текст("обложка"_cp, &ЗаписьБазы::обложка, "Обложка"_cp, "Обложка:\t\t"_cp, КолонкаСтроки{20, 20, В::вправо},
            КолонкаПечати{14, В::влево}),
      std::move(экземпляров),
      std::move(страниц),
      std::move(примечание),
  });
}

std::uint32_t зигзаг(std::int32_t v) { return (static_cast<std::uint32_t>(v) << 1) ^ static_cast<std::uint32_t>(v >> 31); }
std::int32_t из_зигзага(std::uint64_t u) {
  const auto v = static_cast<std::uint32_t>(u);
  return static_cast<std::int32_t>((v >> 1) ^ (0u - (v & 1)));
}

unsigned форма_числа(std::int32_t v) { return v == 0 ? 0 : v == 1 ? 1 : 2; }
int бит_поля(const ПолеКниги& п) { return п.тип == ТипПоля::текст ? 1 : 2; }

// Walks the values packed at `p`: calls f(field, text, number) for each chosen field (a text
// field gets its text, an integer field its value); the first byte after them.
template <class F>
const char* обойти_упаковку(const char* p, ВыборПолей which, const ТаблицаПолей& table, F f) {
  const std::uint64_t head = прочитать_число_упаковки(p);
  int бит = 0;
  for (const ПолеКниги& п : table) {
    if (!which(п)) continue;
    if (п.тип == ТипПоля::текст) {
      std::string_view текст;
      if (head >> бит & 1) {
        const auto n = static_cast<std::size_t>(прочитать_число_упаковки(p));
        текст = std::string_view(p, n);
        p += n;
      }
      f(п, текст, 0);
    } else {
      const auto форма = static_cast<unsigned>(head >> бит & 3);
      f(п, std::string_view(), форма == 2 ? из_зигзага(прочитать_число_упаковки(p)) : static_cast<std::int32_t>(форма));
    }
    бит += бит_поля(п);
  }
  return p;
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
  int бит = 0;
  for (const ПолеКниги& п : поля_) бит += бит_поля(п);
  if (кодов != 1 || поля_[код_].тип != ТипПоля::число || бит > 64) RUN_Error(errcode::kNoCase);
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

void записать_число_упаковки(std::string& out, std::uint64_t n) {
  while (n >= 0x80) {
    out.push_back(static_cast<char>(n | 0x80));
    n >>= 7;
  }
  out.push_back(static_cast<char>(n));
}
std::uint64_t прочитать_число_упаковки(const char*& p) {
  std::uint64_t n = 0;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(*p++);
    n |= std::uint64_t{b & 0x7Fu} << shift;
    if (b < 0x80) return n;
  }
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
  if (n == 0 && поле.ноль_пусто) return std::string();
  if (!поле.слова) return std::to_string(n);
  const auto слово = слово_поля(поле, n);
  if (!слово) return std::nullopt;
  return std::string(*слово);
}

void упаковать_поля(const ЗаписьБазы& record, std::string& out, ВыборПолей which, const ТаблицаПолей& table) {
  std::uint64_t head = 0;
  int бит = 0;
  for (const ПолеКниги& п : table) {
    if (!which(п)) continue;
    if (п.тип == ТипПоля::текст)
      head |= std::uint64_t{!п.текст(record).empty()} << бит;
    else
      head |= std::uint64_t{форма_числа(п.число(record))} << бит;
    бит += бит_поля(п);
  }
  записать_число_упаковки(out, head);
  for (const ПолеКниги& п : table) {
    if (!which(п)) continue;
    if (п.тип == ТипПоля::текст) {
      const std::string_view текст = п.текст(record);
      if (текст.empty()) continue;
      записать_число_упаковки(out, текст.size());
      out += текст;
    } else if (const std::int32_t n = п.число(record); форма_числа(n) == 2) {
      записать_число_упаковки(out, зигзаг(n));
    }
  }
}

const char* распаковать_поля(const char* p, ЗаписьБазы& record, ВыборПолей which, const ТаблицаПолей& table) {
  return обойти_упаковку(p, which, table, [&record](const ПолеКниги& п, std::string_view текст, std::int32_t n) {
    if (п.тип == ТипПоля::текст)
      п.задать_текст(record, std::string(текст));
    else
      п.задать_число(record, n);
  });
}

const char* пропустить_поля(const char* p, ВыборПолей which, const ТаблицаПолей& table) {
  return обойти_упаковку(p, which, table, [](const ПолеКниги&, std::string_view, std::int32_t) {});
}

std::string_view текст_упаковки(const char* p, const ПолеКниги& field, ВыборПолей which, const ТаблицаПолей& table) {
  std::string_view out;
  обойти_упаковку(p, which, table, [&out, &field](const ПолеКниги& п, std::string_view текст, std::int32_t) {
    if (&п == &field) out = текст;
  });
  return out;
}

bool поле_ключа(const ПолеКниги& п) { return п.в_ключе_повтора; }
bool поле_вне_ключа(const ПолеКниги& п) { return !п.в_ключе_повтора && !п.код; }

void ключ_повтора(const ЗаписьБазы& record, std::string& out, const ТаблицаПолей& table) {
  упаковать_поля(record, out, поле_ключа, table);
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
