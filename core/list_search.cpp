// The search forms, the words and the filter of one list (see list_search.h).
#include "core/list_search.h"

#include <algorithm>
#include <utility>

#include "core/catalogue_facts.h"
#include "runtime/conversions.h"

namespace {

// Stands between the fields of a search form: no word typed holds it, so none matches across
// two fields.
constexpr char kМеждуПолями = '\x01';

}  // namespace

std::string форма_поиска(const ЗаписьБазы& з, const ТаблицаПолей& т) {
  std::string out;
  out.reserve(160);
  добавить_форму_поиска(out, з, т);
  return out;
}

void добавить_форму_поиска(std::string& out, const ЗаписьБазы& з, const ТаблицаПолей& т) {
  bool первое = true;
  for (const ПолеКниги& п : т) {
    if (!п.ищется) continue;
    if (!первое) out.push_back(kМеждуПолями);
    первое = false;
    if (п.тип == ТипПоля::текст)
      CONV_AppendSearchForm(out, п.текст(з));
    else
      CONV_AppendSearchForm(out, текст_поля(п, з).value_or(std::string()));
  }
}

std::vector<СтрокаПоиска> строки_каталога() {
  std::vector<СтрокаПоиска> строки;
  строки.reserve(база_лит.count());
  для_строк_каталога([&строки](std::string строка, const ЗаписьБазы& з) {
    строки.push_back({std::move(строка), форма_поиска(з)});
  });
  std::stable_sort(строки.begin(), строки.end(),
                   [](const СтрокаПоиска& a, const СтрокаПоиска& b) { return строка_раньше(a.строка, b.строка); });
  return строки;
}

bool подходит(std::string_view form, const std::vector<std::string>& words) {
  return std::all_of(words.begin(), words.end(),
                     [form](const std::string& w) { return form.find(w) != std::string_view::npos; });
}

std::vector<std::string> слова_поиска(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t начало = text.find_first_not_of(" \t", i);
    if (начало == std::string_view::npos) break;
    const std::size_t конец = std::min(text.find_first_of(" \t", начало), text.size());
    out.push_back(CONV_SearchForm(text.substr(начало, конец - начало)));
    i = конец;
  }
  return out;
}

std::string_view ПоискСписка::форма(std::size_t i) const {
  return std::string_view(формы).substr(начала[i], начала[i + 1] - начала[i]);
}

void ПоискСписка::задать_строки(std::vector<СтрокаПоиска> lines) {
  строки.clear();
  std::string().swap(формы);
  начала.assign(1, 0);
  строки.reserve(lines.size());
  начала.reserve(lines.size() + 1);
  // The forms' buffer is made once at its size: grown by doubling, a hundred thousand forms would
  // leave up to half of it unused for as long as the list lives.
  std::size_t байт = 0;
  for (const СтрокаПоиска& с : lines) байт += с.форма.size();
  формы.reserve(байт);
  for (СтрокаПоиска& с : lines) {
    строки.push_back(std::move(с.строка));
    формы += с.форма;
    начала.push_back(формы.size());
  }
  показанные.clear();
}

void ПоискСписка::задать_каталог() {
  // Every record's line, and its form straight into one buffer: a hundred thousand forms made one
  // by one would each take an allocation of its own, and the holes they leave once copied.
  std::vector<std::string> все;
  std::string формы_все;
  std::vector<std::size_t> начала_все{0};
  все.reserve(база_лит.count());
  начала_все.reserve(база_лит.count() + 1);
  для_строк_каталога([&](std::string строка, const ЗаписьБазы& з) {
    все.push_back(std::move(строка));
    добавить_форму_поиска(формы_все, з);
    начала_все.push_back(формы_все.size());
  });
  std::vector<std::size_t> порядок(все.size());
  for (std::size_t i = 0; i < порядок.size(); ++i) порядок[i] = i;
  std::stable_sort(порядок.begin(), порядок.end(),
                   [&все](std::size_t a, std::size_t b) { return строка_раньше(все[a], все[b]); });
  строки.clear();
  строки.reserve(все.size());
  std::string().swap(формы);
  формы.reserve(формы_все.size());
  начала.assign(1, 0);
  начала.reserve(все.size() + 1);
  for (const std::size_t i : порядок) {
    строки.push_back(std::move(все[i]));
    формы.append(формы_все, начала_все[i], начала_все[i + 1] - начала_все[i]);
    начала.push_back(формы.size());
  }
  показанные.clear();
}

std::vector<std::string> ПоискСписка::отобрать() {
  const std::vector<std::string_view> виды = отобрать_виды();
  return std::vector<std::string>(виды.begin(), виды.end());
}

std::vector<std::string_view> ПоискСписка::отобрать_виды() {
  показанные.clear();
  std::vector<std::string_view> показ;
  for (std::size_t i = 0; i < строки.size(); ++i) {
    if (!подходит(форма(i), слова)) continue;
    показанные.push_back(i);
    показ.push_back(строки[i]);
  }
  return показ;
}

std::optional<std::size_t> ПоискСписка::найти(std::string_view line) const {
  const auto it = std::find(строки.begin(), строки.end(), line);
  if (it == строки.end()) return std::nullopt;
  return static_cast<std::size_t>(it - строки.begin());
}

std::optional<std::size_t> ПоискСписка::место_показа(std::size_t i) const {
  const auto показ = std::lower_bound(показанные.begin(), показанные.end(), i);
  if (показ == показанные.end() || *показ != i) return std::nullopt;
  return static_cast<std::size_t>(показ - показанные.begin());
}

void ПоискСписка::убрать(std::size_t i) {
  const std::size_t длина = начала[i + 1] - начала[i];
  строки.erase(строки.begin() + static_cast<std::ptrdiff_t>(i));
  формы.erase(начала[i], длина);
  начала.erase(начала.begin() + static_cast<std::ptrdiff_t>(i));
  for (std::size_t k = i; k < начала.size(); ++k) начала[k] -= длина;
  if (const auto место = место_показа(i)) показанные.erase(показанные.begin() + static_cast<std::ptrdiff_t>(*место));
  for (std::size_t& k : показанные)
    if (k > i) --k;
}

bool ПоискСписка::вставить(СтрокаПоиска line) {
  const auto место = std::upper_bound(строки.begin(), строки.end(), line.строка,
                                      [](const std::string& a, const std::string& b) { return строка_раньше(a, b); });
  const std::size_t i = static_cast<std::size_t>(место - строки.begin());
  const std::size_t длина = line.форма.size();
  формы.insert(начала[i], line.форма);
  начала.insert(начала.begin() + static_cast<std::ptrdiff_t>(i) + 1, начала[i] + длина);
  for (std::size_t k = i + 2; k < начала.size(); ++k) начала[k] += длина;
  строки.insert(место, std::move(line.строка));
  for (std::size_t& k : показанные)
    if (k >= i) ++k;
  if (!подходит(форма(i), слова)) return false;
  показанные.insert(std::lower_bound(показанные.begin(), показанные.end(), i), i);
  return true;
}
