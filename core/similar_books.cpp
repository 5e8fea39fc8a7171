// The index of stored books by name and by ISBN, and the similar book (see similar_books.h).
#include "core/similar_books.h"

#include <functional>
#include <unordered_map>
#include <vector>

#include "core/book_details.h"
#include "core/catalogue_facts.h"
#include "runtime/fact_changes.h"
#include "runtime/conversions.h"

namespace {

// Stands between author and title in a name's key; no text typed holds it.
constexpr char kМеждуПолями = '\x01';

void добавить_без_лишних_пробелов(std::string& out, std::string_view text) {
  const std::string форма = CONV_SearchForm(text);
  bool пробел = false;
  for (const char c : форма) {
    if (c == ' ' || c == '\t') {
      пробел = true;
      continue;
    }
    if (пробел && !out.empty() && out.back() != kМеждуПолями) out.push_back(' ');
    пробел = false;
    out.push_back(c);
  }
}

std::uint64_t хеш(std::string_view s) { return std::hash<std::string_view>{}(s); }

// The stored books by the hash of their name's key and of their ISBN; a hit is checked against
// the book itself, so a hash shared by two names finds nothing wrong.
struct УказательПохожих {
  std::uint64_t при_записях = ~std::uint64_t{0}, при_сведениях = ~std::uint64_t{0};
  std::unordered_multimap<std::uint64_t, std::int32_t> по_названию, по_isbn;

  void обновить() {
    const std::uint64_t записи = RNT_SectionChanges(секция_базы), сведения = RNT_SectionChanges(секция_сведений);
    if (записи == при_записях && сведения == при_сведениях) return;
    по_названию.clear();
    по_isbn.clear();
    по_названию.reserve(база_лит.count());
    for (auto v : база_лит.views()) {
      const std::string ключ = ключ_названия(v[&ЗаписьБазы::автор], v[&ЗаписьБазы::наименование]);
      if (!ключ.empty()) по_названию.emplace(хеш(ключ), v[&ЗаписьБазы::код]);
    }
    for (auto v : сведения_лит.views()) {
      const std::string_view isbn = v.template get<4>();
      if (!isbn.empty()) по_isbn.emplace(хеш(isbn), v.template get<0>());
    }
    при_записях = записи;
    при_сведениях = сведения;
  }
};

УказательПохожих& указатель() {
  static УказательПохожих у;
  return у;
}

}  // namespace

std::string ключ_названия(std::string_view автор, std::string_view наименование) {
  std::string out;
  добавить_без_лишних_пробелов(out, автор);
  out.push_back(kМеждуПолями);
  добавить_без_лишних_пробелов(out, наименование);
  if (out.size() == 1) out.clear();
  return out;
}

std::optional<ПохожаяКнига> похожая_книга(const ЗаписьБазы& з, std::optional<std::int32_t> кроме) {
  УказательПохожих& у = указатель();
  у.обновить();
  const std::string ключ = ключ_названия(з.автор, з.наименование);
  const std::string isbn(текст_сведений(з, &СведенияКниги::isbn));
  std::vector<std::int32_t> коды;
  const auto кандидаты = [&](const std::unordered_multimap<std::uint64_t, std::int32_t>& где, std::string_view что) {
    if (что.empty()) return;
    const auto [от, до] = где.equal_range(хеш(что));
    for (auto it = от; it != до; ++it)
      if (it->second != кроме) коды.push_back(it->second);
  };
  кандидаты(у.по_названию, ключ);
  кандидаты(у.по_isbn, isbn);
  std::optional<ПохожаяКнига> лучшая;
  for (const std::int32_t код : коды) {
    if (лучшая && лучшая->код <= код) continue;
    // The hit checked against the book itself.
    for (const ЗаписьБазы& книга : база_лит.по_коду(код)) {
      const bool то_же_название = !ключ.empty() && ключ_названия(книга.автор, книга.наименование) == ключ;
      const bool тот_же_isbn = !isbn.empty() && сведения_книги(код).isbn == isbn;
      if (то_же_название || тот_же_isbn) {
        лучшая = ПохожаяКнига{код, книга.наименование};
        break;
      }
    }
  }
  return лучшая;
}
