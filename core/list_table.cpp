// The list window's table as data: columns, cell texts and the rows' order by a column.
#include "core/list_table.h"

#include <algorithm>

#include "core/catalogue_facts.h"
#include "core/list_line.h"
#include "runtime/codepage.h"
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

namespace {

// Whether a column of `field` is sorted by the integer values (else by texts or words).
bool по_числу(const ПолеКниги& field) { return field.тип == ТипПоля::число && !field.слова; }

// Sorts `rows` stably by the keys `number(row)` (`numbers`) or `text(row)`.
template <class Number, class Text>
void упорядочить(std::vector<std::uint32_t>& rows, std::size_t count, bool numbers, bool ascending, Number number,
                 Text text) {
  if (numbers) {
    // Numbers are read once: a hundred thousand rows are sorted by plain integers.
    std::vector<std::int32_t> значения(count);
    for (const std::uint32_t r : rows) значения[r] = number(r);
    std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t x, std::uint32_t y) {
      return ascending ? значения[x] < значения[y] : значения[y] < значения[x];
    });
    return;
  }
  std::vector<std::string_view> тексты(count);
  for (const std::uint32_t r : rows) тексты[r] = text(r);
  std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t x, std::uint32_t y) {
    return ascending ? PSTR_ListCompare(тексты[x], тексты[y]) < 0 : PSTR_ListCompare(тексты[y], тексты[x]) < 0;
  });
}

}  // namespace

void упорядочить_строки(std::vector<std::uint32_t>& rows, const std::vector<const ЗаписьБазы*>& records,
                        const ПолеКниги& field, bool ascending) {
  упорядочить(
      rows, records.size(), по_числу(field), ascending, [&](std::uint32_t r) { return field.число(*records[r]); },
      [&](std::uint32_t r) { return текст_порядка(field, *records[r]); });
}

void упорядочить_строки(std::vector<std::uint32_t>& rows, std::size_t count,
                        const std::function<void(std::uint32_t, ЗаписьБазы&)>& read, const ПолеКниги& field,
                        bool ascending) {
  // Each row's key is taken out of its record once: numbers as they are, texts into one buffer.
  const bool числа_ли = по_числу(field);
  std::vector<std::int32_t> числа(числа_ли ? count : 0);
  std::vector<std::uint32_t> начала(числа_ли ? 0 : count + 1), длины(числа_ли ? 0 : count);
  std::string ключи;
  ЗаписьБазы з;
  for (const std::uint32_t r : rows) {
    read(r, з);
    if (числа_ли) {
      числа[r] = field.число(з);
    } else {
      const std::string_view т = текст_порядка(field, з);
      начала[r] = static_cast<std::uint32_t>(ключи.size());
      длины[r] = static_cast<std::uint32_t>(т.size());
      ключи += т;
    }
  }
  упорядочить(
      rows, count, числа_ли, ascending, [&](std::uint32_t r) { return числа[r]; },
      [&](std::uint32_t r) { return std::string_view(ключи).substr(начала[r], длины[r]); });
}

void упорядочить_строки_по_тексту(std::vector<std::uint32_t>& rows, std::size_t count,
                                  const std::function<std::string_view(std::uint32_t)>& text, bool ascending) {
  упорядочить(rows, count, false, ascending, [](std::uint32_t) { return 0; }, text);
}

std::string_view название_колонки_на_руках() { return "На руках"_cp; }

// ---- the records a table keeps ----

namespace {

constexpr std::array<std::string ЗаписьБазы::*, 5> kТекстыЗаписи = {
    &ЗаписьБазы::автор, &ЗаписьБазы::наименование, &ЗаписьБазы::категория, &ЗаписьБазы::вид, &ЗаписьБазы::обложка};

}  // namespace

ЗаписиТаблицы::Запись ЗаписиТаблицы::упаковать(const ЗаписьБазы& з) {
  Запись к;
  к.код = з.код;
  к.диск = з.диск;
  к.переплет = з.переплет;
  for (std::size_t i = 0; i < kТекстов; ++i) {
    к.начала[i] = static_cast<std::uint32_t>(тексты_.size());
    тексты_ += з.*kТекстыЗаписи[i];
  }
  к.начала[kТекстов] = static_cast<std::uint32_t>(тексты_.size());
  return к;
}

std::string_view ЗаписиТаблицы::текст(const Запись& з, std::size_t i) const {
  return std::string_view(тексты_).substr(з.начала[i], з.начала[i + 1] - з.начала[i]);
}

bool ЗаписиТаблицы::равна(const Запись& к, const ЗаписьБазы& з) const {
  if (к.код != з.код || к.диск != з.диск || к.переплет != з.переплет) return false;
  for (std::size_t i = 0; i < kТекстов; ++i)
    if (текст(к, i) != з.*kТекстыЗаписи[i]) return false;
  return true;
}

void ЗаписиТаблицы::заполнить() {
  записи_.clear();
  тексты_.clear();
  ушло_байт_ = 0;
  // The texts' size first, so that the buffer is made once and no larger than it has to be.
  std::size_t байт = 0;
  std::size_t всего = 0;
  for (auto v : база_лит.views()) {
    for (const auto член : kТекстыЗаписи) байт += v[член].size();
    ++всего;
  }
  записи_.reserve(всего);
  тексты_.reserve(байт);
  ЗаписьБазы з;
  for (auto v : база_лит.views()) {
    v.read(з);
    записи_.push_back(упаковать(з));
  }
  std::stable_sort(записи_.begin(), записи_.end(), [](const Запись& a, const Запись& b) { return a.код < b.код; });
}

void ЗаписиТаблицы::убрать(const ЗаписьБазы& з) {
  auto it = std::lower_bound(записи_.begin(), записи_.end(), з.код,
                             [](const Запись& к, std::int32_t код) { return к.код < код; });
  for (; it != записи_.end() && it->код == з.код; ++it)
    if (равна(*it, з)) {
      ушло_байт_ += it->начала[kТекстов] - it->начала[0];
      записи_.erase(it);
      if (ушло_байт_ > тексты_.size() / 2) уплотнить();
      return;
    }
}

void ЗаписиТаблицы::добавить(const ЗаписьБазы& з) {
  const auto it = std::upper_bound(записи_.begin(), записи_.end(), з.код,
                                   [](std::int32_t код, const Запись& к) { return код < к.код; });
  записи_.insert(it, упаковать(з));
}

void ЗаписиТаблицы::уплотнить() {
  std::string было;
  было.swap(тексты_);
  тексты_.reserve(было.size() - ушло_байт_);
  for (Запись& к : записи_) {
    const std::uint32_t от = к.начала[0];
    const std::uint32_t сдвиг = от - static_cast<std::uint32_t>(тексты_.size());
    тексты_.append(было, от, к.начала[kТекстов] - от);
    for (std::uint32_t& н : к.начала) н -= сдвиг;
  }
  ушло_байт_ = 0;
}

std::optional<std::uint32_t> ЗаписиТаблицы::запись_строки(std::string_view line) const {
  const auto код = код_строки(line);
  if (!код) return std::nullopt;
  const auto от = std::lower_bound(записи_.begin(), записи_.end(), *код,
                                   [](const Запись& к, std::int32_t c) { return к.код < c; });
  if (от == записи_.end() || от->код != *код) return std::nullopt;
  const auto номер = [this](auto it) { return static_cast<std::uint32_t>(it - записи_.begin()); };
  if (std::next(от) == записи_.end() || std::next(от)->код != *код) return номер(от);
  ЗаписьБазы з;
  for (auto it = от; it != записи_.end() && it->код == *код; ++it) {
    прочитать(номер(it), з);
    if (строка_списка(з) == line) return номер(it);
  }
  return номер(от);
}

void ЗаписиТаблицы::прочитать(std::uint32_t i, ЗаписьБазы& з) const {
  const Запись& к = записи_[i];
  з.код = к.код;
  з.диск = к.диск;
  з.переплет = к.переплет;
  for (std::size_t n = 0; n < kТекстов; ++n) з.*kТекстыЗаписи[n] = текст(к, n);
  з.сведения.reset();
}
