// The details by code, a record's details, the copies, and the checks of what is typed (see
// book_details.h).
#include "core/book_details.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "runtime/fact_changes.h"
#include "runtime/codepage.h"

// The section and its one kind (the section first: globals of one file are made in order).
FactSection секция_сведений;
FactKind<СведенияЛит> сведения_лит{секция_сведений, "сведения_лит"_cp};

namespace {

// The texts of the details in the order the index keeps them.
constexpr std::array<std::string СведенияКниги::*, 5> kТексты = {
    &СведенияКниги::издательство, &СведенияКниги::место, &СведенияКниги::isbn, &СведенияКниги::шифр,
    &СведенияКниги::примечание};

std::size_t номер_текста(std::string СведенияКниги::*member) {
  return static_cast<std::size_t>(std::find(kТексты.begin(), kТексты.end(), member) - kТексты.begin());
}

// The stored details by code: one small entry a book (its numbers and where its texts stand in
// one buffer of all the texts), sorted by code; made again when the section changed since.
struct УказательСведений {
  struct Книга {
    std::int32_t код = 0;
    std::int32_t год = 0, экземпляров = 1, страниц = 0;
    std::array<std::uint32_t, kТексты.size() + 1> начала{};  // text i is тексты[начала[i], начала[i + 1])
  };
  std::uint64_t при_изменениях = ~std::uint64_t{0};
  std::vector<Книга> книги;
  std::string тексты;

  void обновить() {
    const std::uint64_t сейчас = RNT_SectionChanges(секция_сведений);
    if (сейчас == при_изменениях) return;
    книги.clear();
    тексты.clear();
    for (auto v : сведения_лит.views()) {
      Книга к;
      к.код = v.template get<0>();
      к.год = v.template get<1>();
      к.экземпляров = v.template get<6>();
      к.страниц = v.template get<7>();
      const std::string_view т[] = {v.template get<2>(), v.template get<3>(), v.template get<4>(),
                                    v.template get<5>(), v.template get<8>()};
      for (std::size_t i = 0; i < kТексты.size(); ++i) {
        к.начала[i] = static_cast<std::uint32_t>(тексты.size());
        тексты += т[i];
      }
      к.начала[kТексты.size()] = static_cast<std::uint32_t>(тексты.size());
      книги.push_back(к);
    }
    // The first line of a code in table order stays first among its equals.
    std::stable_sort(книги.begin(), книги.end(), [](const Книга& a, const Книга& b) { return a.код < b.код; });
    при_изменениях = сейчас;
  }

  const Книга* найти(std::int32_t код) {
    обновить();
    const auto it = std::lower_bound(книги.begin(), книги.end(), код, [](const Книга& к, std::int32_t c) { return к.код < c; });
    return it != книги.end() && it->код == код ? &*it : nullptr;
  }

  std::string_view текст(const Книга& к, std::size_t i) const {
    return std::string_view(тексты).substr(к.начала[i], к.начала[i + 1] - к.начала[i]);
  }
};

УказательСведений& указатель() {
  static УказательСведений у;
  return у;
}

const СведенияКниги& по_умолчанию() {
  static const СведенияКниги с;
  return с;
}

std::string_view без_пробелов(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool цифра(char c) { return c >= '0' && c <= '9'; }

// A whole number of at most `цифр` digits (blanks around allowed); nothing for anything else.
std::optional<std::int64_t> целое(std::string_view typed, std::size_t цифр) {
  const std::string_view v = без_пробелов(typed);
  if (v.empty() || v.size() > цифр || !std::all_of(v.begin(), v.end(), цифра)) return std::nullopt;
  std::int64_t n = 0;
  for (const char c : v) n = n * 10 + (c - '0');
  return n;
}

char цифра_проверки_13(std::string_view двенадцать) {
  int сумма = 0;
  for (std::size_t i = 0; i < 12; ++i) сумма += (двенадцать[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return static_cast<char>('0' + (10 - сумма % 10) % 10);
}

}  // namespace

СведенияКниги сведения_книги(std::int32_t код) {
  УказательСведений& у = указатель();
  const auto* к = у.найти(код);
  if (!к) return СведенияКниги{};
  СведенияКниги с;
  с.год = к->год;
  с.экземпляров = к->экземпляров;
  с.страниц = к->страниц;
  for (std::size_t i = 0; i < kТексты.size(); ++i) с.*kТексты[i] = std::string(у.текст(*к, i));
  return с;
}

bool есть_сведения(std::int32_t код) { return указатель().найти(код) != nullptr; }

СведенияКниги сведения_записи(const ЗаписьБазы& з) { return з.сведения ? *з.сведения : сведения_книги(з.код); }

std::string_view текст_сведений(const ЗаписьБазы& з, std::string СведенияКниги::*member) {
  if (з.сведения) return *з.сведения.*member;
  УказательСведений& у = указатель();
  const auto* к = у.найти(з.код);
  return к ? у.текст(*к, номер_текста(member)) : std::string_view(по_умолчанию().*member);
}

std::int32_t число_сведений(const ЗаписьБазы& з, std::int32_t СведенияКниги::*member) {
  if (з.сведения) return *з.сведения.*member;
  const auto* к = указатель().найти(з.код);
  if (!к) return по_умолчанию().*member;
  if (member == &СведенияКниги::год) return к->год;
  if (member == &СведенияКниги::экземпляров) return к->экземпляров;
  return к->страниц;
}

ЗаписьБазы с_сведениями(ЗаписьБазы з) {
  if (!з.сведения) з.сведения = сведения_книги(з.код);
  return з;
}

std::int32_t экземпляров_книги(std::int32_t код) {
  const auto* к = указатель().найти(код);
  return к && к->экземпляров > 1 ? к->экземпляров : 1;
}

std::string_view название_сведения(ПолеСведений поле) {
  switch (поле) {
    case ПолеСведений::год: return "Год издания"_cp;
    case ПолеСведений::издательство: return "Издательство"_cp;
    case ПолеСведений::место: return "Место издания"_cp;
    case ПолеСведений::isbn: return "ISBN";
    case ПолеСведений::шифр: return "Шифр"_cp;
    case ПолеСведений::экземпляров: return "Экземпляров"_cp;
    case ПолеСведений::страниц: return "Страниц"_cp;
    case ПолеСведений::примечание: return "Примечание"_cp;
  }
  return {};
}

std::optional<std::int32_t> год_издания(std::string_view typed, int текущий_год) {
  if (без_пробелов(typed).empty()) return 0;
  if (без_пробелов(typed).size() != 4) return std::nullopt;
  const auto n = целое(typed, 4);
  if (!n || *n < 1450 || *n > текущий_год + 1) return std::nullopt;
  return static_cast<std::int32_t>(*n);
}

std::optional<std::string> isbn_для_хранения(std::string_view typed) {
  std::string_view v = без_пробелов(typed);
  if (v.size() >= 4 && (v[0] == 'I' || v[0] == 'i') && (v[1] == 'S' || v[1] == 's') && (v[2] == 'B' || v[2] == 'b') &&
      (v[3] == 'N' || v[3] == 'n')) {
    v.remove_prefix(4);
    if (!v.empty() && v.front() == ':') v.remove_prefix(1);
    v = без_пробелов(v);
    if (v.empty()) return std::nullopt;  // "ISBN" and nothing after it
  }
  std::string знаки;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const char c = v[i];
    if (цифра(c))
      знаки.push_back(c);
    else if ((c == 'X' || c == 'x') && знаки.size() == 9)
      знаки.push_back('X');
    else if (c != '-' && c != ' ')
      return std::nullopt;
    // A hyphen or blank stands between digits only.
    if ((c == '-' || c == ' ') && (знаки.empty() || i + 1 == v.size())) return std::nullopt;
  }
  if (знаки.empty()) return std::string();
  if (знаки.size() == 10) {
    int сумма = 0;
    for (std::size_t i = 0; i < 10; ++i) сумма += static_cast<int>(10 - i) * (знаки[i] == 'X' ? 10 : знаки[i] - '0');
    if (сумма % 11 != 0) return std::nullopt;
    std::string тринадцать = "978" + знаки.substr(0, 9);
    тринадцать.push_back(цифра_проверки_13(тринадцать));
    return тринадцать;
  }
  if (знаки.size() != 13 || знаки.find('X') != std::string::npos) return std::nullopt;
  if (цифра_проверки_13(знаки) != знаки[12]) return std::nullopt;
  return знаки;
}

std::optional<std::int32_t> число_экземпляров(std::string_view typed) {
  if (без_пробелов(typed).empty()) return 1;
  const auto n = целое(typed, 3);
  if (!n || *n < 1) return std::nullopt;
  return static_cast<std::int32_t>(*n);
}

std::optional<std::int32_t> число_страниц(std::string_view typed) {
  if (без_пробелов(typed).empty()) return 0;
  const auto n = целое(typed, 9);
  if (!n) return std::nullopt;
  return static_cast<std::int32_t>(*n);
}

std::variant<СведенияКниги, ОтказСведений> разобрать_сведения(const ВведённыеСведения& в, int текущий_год) {
  const auto отказ = [](ПолеСведений поле, std::string_view что) {
    return ОтказСведений{поле, "Поле «"_cps + std::string(название_сведения(поле)) + "»: "_cps + std::string(что)};
  };
  СведенияКниги с;
  const auto год = год_издания(в.год, текущий_год);
  if (!год)
    return отказ(ПолеСведений::год, "год издания пишется четырьмя цифрами, от 1450 до "_cps +
                                        std::to_string(текущий_год + 1) + ", или оставьте поле пустым."_cps);
  с.год = *год;
  с.издательство = в.издательство;
  с.место = в.место;
  const auto isbn = isbn_для_хранения(в.isbn);
  if (!isbn)
    return отказ(ПолеСведений::isbn,
                 "ISBN состоит из 10 или 13 цифр (между ними можно ставить дефисы и пробелы, последняя цифра "
                 "ISBN-10 может быть X), и его последняя, контрольная, цифра должна сходиться с остальными. "
                 "Проверьте номер или оставьте поле пустым."_cp);
  с.isbn = *isbn;
  с.шифр = в.шифр;
  const auto экземпляров = число_экземпляров(в.экземпляров);
  if (!экземпляров) return отказ(ПолеСведений::экземпляров, "число экземпляров — целое число от 1 до 999."_cp);
  с.экземпляров = *экземпляров;
  const auto страниц = число_страниц(в.страниц);
  if (!страниц)
    return отказ(ПолеСведений::страниц, "число страниц — целое число не меньше нуля, или оставьте поле пустым."_cp);
  с.страниц = *страниц;
  с.примечание = в.примечание;
  return с;
}

ВведённыеСведения показ_сведений(const СведенияКниги& с) {
  ВведённыеСведения в;
  в.год = с.год ? std::to_string(с.год) : std::string();
  в.издательство = с.издательство;
  в.место = с.место;
  в.isbn = с.isbn;
  в.шифр = с.шифр;
  в.экземпляров = std::to_string(с.экземпляров);
  в.страниц = с.страниц ? std::to_string(с.страниц) : std::string();
  в.примечание = с.примечание;
  return в;
}
