// The list line, its code, the list's order and the records of lines (see list_line.h).
#include "core/list_line.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <utility>

#include "core/catalogue_facts.h"
#include "runtime/format.h"
#include "runtime/list_order.h"

std::optional<std::string> строка_списка(const ЗаписьБазы& з, const ТаблицаПолей& т) {
  // The values of one line, kept between lines so that a long list allocates them once.
  static std::vector<FmtArg> значения;
  значения.clear();
  for (const ПолеКниги& п : т) {
    if (!п.в_строке) continue;
    if (п.тип == ТипПоля::текст) {
      значения.emplace_back(п.текст(з));
      continue;
    }
    const std::int32_t n = п.число(з);
    if (!п.слова) {
      значения.emplace_back(n);
      continue;
    }
    const auto слово = слово_поля(п, n);
    if (!слово) return std::nullopt;
    значения.emplace_back(*слово);
  }
  return IO_FormatStr(т.формат_строки(), std::span<const FmtArg>(значения));
}

std::optional<std::int32_t> код_строки(std::string_view line) {
  const std::size_t черта = line.find('|');
  std::string_view поле = line.substr(0, черта);
  while (!поле.empty() && поле.front() == ' ') поле.remove_prefix(1);
  std::int32_t код = 0;
  const auto [конец, ошибка] = std::from_chars(поле.data(), поле.data() + поле.size(), код);
  if (ошибка != std::errc() || конец != поле.data() + поле.size() || поле.empty()) return std::nullopt;
  return код;
}

std::optional<ЗаписьБазы> запись_кода_строки(std::string_view line) {
  const auto код = код_строки(line);
  if (!код) return std::nullopt;
  auto записи = база_лит.по_коду(*код);
  if (записи.empty()) return std::nullopt;
  return std::move(записи.front());
}

bool строка_раньше(std::string_view a, std::string_view b) { return PSTR_ListCompare(a, b) < 0; }

void для_строк_каталога(const std::function<void(std::string line, const ЗаписьБазы& record)>& fn) {
  ЗаписьБазы з;
  for (auto v : база_лит.views()) {
    v.read(з);
    if (auto строка = строка_списка(з)) fn(std::move(*строка), з);
  }
}

std::vector<ЗаписьБазы> записи_в_порядке_списка() {
  std::vector<std::pair<std::string, ЗаписьБазы>> строки;
  для_строк_каталога([&строки](std::string строка, const ЗаписьБазы& з) { строки.emplace_back(std::move(строка), з); });
  std::stable_sort(строки.begin(), строки.end(),
                   [](const auto& a, const auto& b) { return строка_раньше(a.first, b.first); });
  std::vector<ЗаписьБазы> записи;
  записи.reserve(строки.size());
  for (auto& [строка, запись] : строки) записи.push_back(std::move(запись));
  return записи;
}

std::vector<ЗаписьБазы> записи_строк(const std::vector<std::string>& lines) {
  std::unordered_multimap<std::string, ЗаписьБазы> по_строке;
  для_строк_каталога([&по_строке](std::string строка, const ЗаписьБазы& з) { по_строке.emplace(std::move(строка), з); });
  std::vector<ЗаписьБазы> записи;
  записи.reserve(lines.size());
  for (const std::string& строка : lines)
    if (const auto it = по_строке.find(строка); it != по_строке.end()) {
      записи.push_back(std::move(it->second));
      по_строке.erase(it);
    }
  return записи;
}
