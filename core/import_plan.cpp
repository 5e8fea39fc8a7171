// Reading a table of records into the plan of an import (see import_plan.h).
//
// The records to add are kept packed in a ЛентаБайтов, together with the catalogue's records,
// categories and kinds they are compared with. Each entry is a byte of flags followed by what it
// holds: a record as its duplicate key (ключ_повтора, the one rule of data entry and import: the
// fields of the key packed by the field table) and, when the table has fields outside the key
// besides the code, those fields packed the same way; a category or a kind as a text (its length
// as a variable-length number, and its bytes). Two records are one book twice exactly when their
// keys are the same bytes, so records are compared and found by key. Three open-addressing
// indexes of places find a record by its key and a category or a kind by its form (surrounding
// blanks off, letter case folded).
#include "core/import_plan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <new>
#include <set>
#include <utility>

#include "core/csv_table.h"
#include "core/exchange_table.h"
#include "core/catalogue_folder.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

using Место = ЛентаБайтов::Место;

ЛентаБайтов::Место ЛентаБайтов::добавить(std::string_view entry) {
  if (блоки_.empty() || блоки_.back().размер - блоки_.back().занято < entry.size()) {
    if (блоки_.size() >= (std::size_t{1} << 12)) throw std::bad_alloc();  // a place has 12 bits for the block
    // Blocks grow from 64 KiB to a mebibyte, so that a small table takes little.
    const std::size_t размер =
        std::max(блоки_.empty() ? kБлок / 16 : std::min(kБлок, блоки_.back().размер * 2), entry.size());
    блоки_.push_back({std::make_unique_for_overwrite<char[]>(размер), размер, 0});
  }
  Блок& б = блоки_.back();
  const auto место = static_cast<Место>((блоки_.size() - 1) << 20 | б.занято);
  std::copy(entry.begin(), entry.end(), б.данные.get() + б.занято);
  б.занято += entry.size();
  return место;
}

namespace {

constexpr std::size_t kСтрокМеждуОтчётами = 1024;

// ---- Entries, texts and keys ----

constexpr int kТекстКатегории = 0, kТекстВида = 1;  // the texts the category and kind indexes keep

enum : unsigned char {
  kЗаписьКаталога = 1,   // a stored record: its key follows
  kЗаписьФайла = 2,      // a record to add: its key follows
  kКатегория = 4,        // a stored category: its text follows
  kВид = 8,              // a stored kind: its text follows
  kНоваяКатегория = 16,  // with kЗаписьФайла: the first record to bring its category
  kНовыйВид = 32,        // with kЗаписьФайла: the first record to bring its kind
};

void записать_текст(std::string& out, std::string_view text) {
  записать_число_упаковки(out, text.size());
  out += text;
}
// The text at p; p moves past it.
std::string_view прочитать_текст(const char*& p) {
  const auto n = static_cast<std::size_t>(прочитать_число_упаковки(p));
  const std::string_view text(p, n);
  p += n;
  return text;
}

}  // namespace

// How the plan packs a record of a field table: its key, then (when the table has any) its other
// fields but the code; the fields whose texts are compared with the categories and the kinds.
struct УпаковкаЗаписей {
  explicit УпаковкаЗаписей(const ТаблицаПолей& т)
      : таблица(&т), категория(т.поле("категория"_cp)), вид(т.поле("вид"_cp)) {
    for (const ПолеКниги& п : т) остаток = остаток || поле_вне_ключа(п);
  }
  const ТаблицаПолей* таблица;
  const ПолеКниги* категория;  // null: the table has none
  const ПолеКниги* вид;
  bool остаток = false;  // the table has fields outside the key besides the code

  void записать(std::string& out, const ЗаписьБазы& з) const {
    ключ_повтора(з, out, *таблица);
    if (остаток) упаковать_поля(з, out, поле_вне_ключа, *таблица);
  }
  // The record packed at p (its code 0); p moves past it.
  ЗаписьБазы прочитать(const char*& p) const {
    ЗаписьБазы з;
    p = распаковать_поля(p, з, поле_ключа, *таблица);
    if (остаток) p = распаковать_поля(p, з, поле_вне_ключа, *таблица);
    return з;
  }
  // The bytes of the key of the record packed at p.
  std::string_view ключ(const char* p) const {
    return std::string_view(p, static_cast<std::size_t>(пропустить_поля(p, поле_ключа, *таблица) - p));
  }
  // The bytes of the record packed at p.
  std::size_t длина(const char* p) const {
    const char* q = пропустить_поля(p, поле_ключа, *таблица);
    if (остаток) q = пропустить_поля(q, поле_вне_ключа, *таблица);
    return static_cast<std::size_t>(q - p);
  }
  // The text of a field of the record packed at p; empty when it has none.
  std::string_view текст(const char* p, const ПолеКниги* поле) const {
    if (!поле) return {};
    if (поле_ключа(*поле)) return текст_упаковки(p, *поле, поле_ключа, *таблица);
    return текст_упаковки(пропустить_поля(p, поле_ключа, *таблица), *поле, поле_вне_ключа, *таблица);
  }
};

namespace {

// The length of the entry at p.
std::size_t длина_записи(const УпаковкаЗаписей& у, const char* p) {
  const char* q = p + 1;
  if (*p & (kКатегория | kВид)) {
    прочитать_текст(q);
    return static_cast<std::size_t>(q - p);
  }
  return 1 + у.длина(q);
}

// ---- Blanks, forms and hashes ----

// A blank around a value or instead of one: a space, a tab, a line break, a non-breaking space.
bool пробел(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\xA0'; }

std::string_view без_пробелов(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && пробел(s[a])) ++a;
  while (b > a && пробел(s[b - 1])) --b;
  return s.substr(a, b - a);
}

// Whether a field as read holds blanks only (in UTF-8 a non-breaking space is two bytes).
bool пустое_поле(std::string_view поле, bool utf8) {
  for (std::size_t i = 0; i < поле.size(); ++i) {
    if (utf8 && поле.compare(i, 2, "\xC2\xA0") == 0) {
      ++i;
      continue;
    }
    if (!пробел(поле[i]) || (utf8 && поле[i] == '\xA0')) return false;
  }
  return true;
}

std::uint64_t смешать(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  return h ^ (h >> 33);
}

std::uint64_t хеш_ключа(std::string_view key) { return смешать(std::hash<std::string_view>{}(key)); }

// The form of a category or a kind by which two are the same: blanks around off, letter case
// folded. Its hash, and whether two texts have one form, without making the form.
std::uint64_t хеш_формы(std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (const char c : без_пробелов(text)) {
    h ^= static_cast<unsigned char>(CONV_UpLowCh_io(c));
    h *= 0x100000001b3ULL;
  }
  return смешать(h);
}
bool одна_форма(std::string_view a, std::string_view b) {
  a = без_пробелов(a);
  b = без_пробелов(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (CONV_UpLowCh_io(a[i]) != CONV_UpLowCh_io(b[i])) return false;
  return true;
}

// Places of the store found by a hash: open addressing with linear probing, its size a power of
// two, grown to stay at most three quarters full. Each slot keeps the low half of its place's hash
// beside the place: a probe passes other entries without reading them from the store, and growing
// needs no hash made again (a table never has 2^32 slots).
class Указатель {
 public:
  // A kept place for which `equal(place)` holds, or nothing.
  template <class Equal>
  std::optional<Место> найти(std::uint64_t hash, Equal equal) const {
    if (слоты_.empty()) return std::nullopt;
    const std::size_t маска = слоты_.size() - 1;
    const auto метка = static_cast<std::uint32_t>(hash);
    for (std::size_t i = hash & маска;; i = (i + 1) & маска) {
      if (слоты_[i].место == kПусто) return std::nullopt;
      if (слоты_[i].метка == метка && equal(слоты_[i].место)) return слоты_[i].место;
    }
  }
  // Keeps `place`, whose hash is `hash`.
  void добавить(std::uint64_t hash, Место place) {
    if ((занято_ + 1) * 4 > слоты_.size() * 3) {
      std::vector<Слот> было = std::move(слоты_);
      слоты_.assign(std::max<std::size_t>(64, было.size() * 2), Слот{});
      for (const Слот& с : было)
        if (с.место != kПусто) поместить(с);
    }
    поместить({place, static_cast<std::uint32_t>(hash)});
    ++занято_;
  }

 private:
  static constexpr Место kПусто = ~Место{0};  // no entry can begin at the last byte a place names
  struct Слот {
    Место место = kПусто;
    std::uint32_t метка = 0;  // the low half of the place's hash
  };
  void поместить(Слот слот) {
    const std::size_t маска = слоты_.size() - 1;
    std::size_t i = слот.метка & маска;
    while (слоты_[i].место != kПусто) i = (i + 1) & маска;
    слоты_[i] = слот;
  }
  std::vector<Слот> слоты_;
  std::size_t занято_ = 0;
};

// ---- Words ----

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

// A value shown in a reason: at most 40 characters of it.
std::string показать(std::string_view значение) {
  if (значение.size() <= 40) return в_кавычках(значение);
  return в_кавычках(std::string(значение.substr(0, 40)) + "…"_cps);
}

std::string название(const ЗаписьБазы& з) { return показать(з.автор) + ", "_cps + показать(з.наименование); }

// The value 0 or 1 of a disk or binding word, or the whole number written; nothing for anything else.
std::optional<std::int32_t> флаг(std::string_view значение, std::string_view слово_0, std::string_view слово_1) {
  const std::string_view v = без_пробелов(значение);
  if (v.empty()) return 0;
  const std::string форма = CONV_SearchForm(v);
  if (форма == CONV_SearchForm(слово_0)) return 0;
  if (форма == CONV_SearchForm(слово_1)) return 1;
  const std::string_view число = v.starts_with('+') ? v.substr(1) : v;
  if (число.empty() || число.front() == '+' || (v.starts_with('+') && число.front() == '-')) return std::nullopt;
  std::int32_t n = 0;
  const auto [end, ec] = std::from_chars(число.data(), число.data() + число.size(), n);
  if (ec != std::errc() || end != число.data() + число.size()) return std::nullopt;
  return n;
}

// A table's text as the import reads it: its encoding, where each column stands, and the forms
// of the first row's fields (by which a repetition of it is known).
struct Таблица {
  explicit Таблица(const ТаблицаПолей& поля) : поля(поля), место(поля.поля().size()) {}
  const ТаблицаПолей& поля;
  bool utf8 = false;
  std::vector<std::optional<std::size_t>> место;  // of each field of the field table
  std::size_t столбцов = 0;
  std::vector<std::string> формы;
};

// The form of a field of the first row: blanks around off, letter case folded, a byte-order mark
// before it off. A field that is no text of the table's encoding is its bytes behind a NUL,
// which no field that is one has.
std::string форма_поля(std::string_view поле, bool utf8) {
  if (поле.starts_with(kМеткаПорядкаБайтов)) поле.remove_prefix(kМеткаПорядкаБайтов.size());
  if (!utf8) return CONV_SearchForm(без_пробелов(поле));
  if (auto текст = cp1251::from_utf8_exact(поле)) return CONV_SearchForm(без_пробелов(*текст));
  return '\0' + std::string(поле);
}

// The columns of the first row; a file refusal when the row is not the head of a table of records.
std::optional<std::string> прочитать_заголовок(const СтрокаCsv& строка, Таблица& т) {
  if (!строка.ошибка.empty()) return "Первую строку файла прочитать нельзя: "_cps + строка.ошибка + "."_cps;
  if (строка.полей > kНаибольшееЧислоСтолбцов || строка.длинное_поле)
    return "В первой строке больше "_cps + std::to_string(kНаибольшееЧислоСтолбцов) +
           " столбцов или слишком длинное название: это не таблица записей каталога."_cps;
  т.столбцов = строка.полей;
  for (std::size_t i = 0; i < строка.поля.size(); ++i) {
    т.формы.push_back(форма_поля(строка.поля[i], т.utf8));
    for (std::size_t к = 0; к < т.поля.поля().size(); ++к) {
      const ПолеКниги& п = т.поля.поля()[к];
      bool названо = т.формы.back() == CONV_SearchForm(п.название);
      for (const std::string_view имя : п.другие_названия) названо = названо || т.формы.back() == CONV_SearchForm(имя);
      if (!названо) continue;
      if (т.место[к]) return "Столбец "_cps + в_кавычках(п.название) + " назван в первой строке дважды."_cps;
      т.место[к] = i;
    }
  }
  const auto есть = [&т](std::string_view имя) {
    const ПолеКниги* п = т.поля.поле(имя);
    return п && т.место[static_cast<std::size_t>(п - т.поля.поля().data())];
  };
  if (!есть("автор"_cp) && !есть("наименование"_cp))
    return "В первой строке нет столбцов «Автор» и «Наименование»: это не таблица записей каталога."_cps;
  return std::nullopt;
}

std::string длиннее() { return "значение длиннее "_cps + std::to_string(kДлиннейшееЗначение) + " знаков"_cps; }

// A field as the value of column `к` (cp1251) into `текст`; false, with why in `причина`, when it
// cannot be one.
bool перекодировать(std::string_view поле, bool utf8, const ПолеКниги& к, std::string& текст, std::string& причина) {
  // Named only when refused: the text is built for one cell of a refused row, not for every cell.
  const auto столбец = [&к] { return "в столбце "_cps + в_кавычках(к.название); };
  const std::string_view ячейка = значение_ячейки_csv(поле);
  if (utf8) {
    char32_t знак = 0;
    auto r = cp1251::from_utf8_exact(ячейка, &знак);
    if (!r) {
      if (знак == 0xFFFD && !cp1251::is_utf8(ячейка)) {
        причина = столбец() + " неверная запись UTF-8"_cps;
      } else if (знак == 0xFEFF) {
        причина = столбец() + " метка порядка байтов (U+FEFF): похоже, сюда попало начало другого файла"_cps;
      } else if (знак == 0xFFFD) {
        причина = столбец() + " знак замены U+FFFD: так отмечают знак, испорченный ещё до этого файла"_cps;
      } else {
        char код[16];
        std::snprintf(код, sizeof код, "U+%04X", static_cast<unsigned>(знак));
        причина = столбец() + " знак "_cps + код + ", которого нет в кодовой странице 1251"_cps;
      }
      return false;
    }
    текст = std::move(*r);
  } else {
    if (ячейка.find(kМеткаПорядкаБайтов) != std::string_view::npos) {
      причина = столбец() + " метка порядка байтов UTF-8 («п»ї»): похоже, сюда попало начало другого файла"_cps;
      return false;
    }
    текст = ячейка;
  }
  // Line breaks become the program's own; any other control character but a tab is refused.
  std::size_t o = 0;
  for (std::size_t i = 0; i < текст.size(); ++i) {
    char c = текст[i];
    if (c == '\r') {
      if (i + 1 < текст.size() && текст[i + 1] == '\n') ++i;
      c = '\n';
    } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') {
      причина = столбец() + " управляющий знак"_cps;
      return false;
    }
    текст[o++] = c;
  }
  текст.resize(o);
  if (текст.size() > kДлиннейшееЗначение) {
    причина = длиннее();
    return false;
  }
  if (без_пробелов(текст).empty()) текст.clear();
  return true;
}

}  // namespace

// The reading of one table into a plan: the rows one after another, against the stored records,
// categories and kinds, which are packed into the plan's store first.
class РазборИмпорта {
 public:
  РазборИмпорта(ПланИмпорта& план, const Таблица& т)
      : план_(план), лента_(план.новые.лента_), т_(т), у_(т.поля) {
    план.новые.таблица_ = &т.поля;
  }

  // Packs the catalogue's records, categories and kinds, each once.
  void известные() {
    for (const ЗаписьБазы& з : база_лит.facts()) {
      ключ_.assign(1, static_cast<char>(kЗаписьКаталога));
      у_.записать(ключ_, з);
      const std::string_view ключ = у_.ключ(ключ_.data() + 1);
      const std::uint64_t h = хеш_ключа(ключ);
      if (найти_запись(h, ключ)) continue;
      записи_.добавить(h, лента_.добавить(ключ_));
    }
    const auto тексты = [this](const FactKind<std::string>& таблица, unsigned char флаг, Указатель& указатель,
                               int номер) {
      for (const std::string& т : таблица.facts()) {
        if (без_пробелов(т).empty()) continue;
        const std::uint64_t h = хеш_формы(т);
        if (найти_текст(указатель, номер, h, т)) continue;
        ключ_.assign(1, static_cast<char>(флаг));
        записать_текст(ключ_, т);
        указатель.добавить(h, лента_.добавить(ключ_));
      }
    };
    тексты(категории_лит, kКатегория, категории_, kТекстКатегории);
    тексты(виды_лит, kВид, виды_, kТекстВида);
  }

  void строка(const СтрокаCsv& с) {
    if (с.ошибка.empty() && с.полей == с.поля.size() && все_пусты(с)) return;  // as an empty line
    if (!с.ошибка.empty()) return отказ(с, с.ошибка);
    if (с.полей != т_.столбцов)
      return отказ(с, "значений "_cps + std::to_string(с.полей) + ", а столбцов в первой строке "_cps +
                          std::to_string(т_.столбцов));
    if (повтор_заголовка(с)) {
      ++план_.повторы_заголовка;
      return пропуск(с, "повторяет первую строку файла (названия столбцов)"_cps);
    }
    if (с.длинное_поле) return отказ(с, длиннее());
    auto r = запись(с);
    if (auto* причина = std::get_if<std::string>(&r)) return отказ(с, std::move(*причина));
    ЗаписьБазы& з = std::get<ЗаписьБазы>(r);

    // A category or a kind of a stored form is written as stored; another is new, without blanks around.
    const auto как_хранится = [this](std::string& значение, const Указатель& указатель, int номер) {
      if (значение.empty()) return true;
      const auto место = найти_текст(указатель, номер, хеш_формы(значение), значение);
      if (!место) {
        значение = std::string(без_пробелов(значение));
        return false;
      }
      const std::string_view хранится = текст_в(*место, номер);
      if (хранится != значение) замена(номер, значение, хранится);
      значение = std::string(хранится);
      return true;
    };
    const bool есть_категория = как_хранится(з.категория, категории_, kТекстКатегории);
    const bool есть_вид = как_хранится(з.вид, виды_, kТекстВида);

    ключ_.assign(1, '\0');
    у_.записать(ключ_, з);
    const std::string_view ключ = у_.ключ(ключ_.data() + 1);
    const std::uint64_t h = хеш_ключа(ключ);
    if (const auto место = найти_запись(h, ключ)) {
      if (*лента_.по(*место) & kЗаписьКаталога) {
        ++план_.повторы_каталога;
        return пропуск(с, "такая запись уже есть в каталоге: "_cps + название(з));
      }
      ++план_.повторы_файла;
      return пропуск(с, "повторяет более раннюю строку файла: "_cps + название(з));
    }
    const bool новая_категория = !есть_категория && !з.категория.empty();
    const bool новый_вид = !есть_вид && !з.вид.empty();
    ключ_[0] = static_cast<char>(kЗаписьФайла | (новая_категория ? kНоваяКатегория : 0) | (новый_вид ? kНовыйВид : 0));
    const Место место = лента_.добавить(ключ_);
    записи_.добавить(h, место);
    if (новая_категория) {
      категории_.добавить(хеш_формы(з.категория), место);
      ++план_.новых_категорий;
    }
    if (новый_вид) {
      виды_.добавить(хеш_формы(з.вид), место);
      ++план_.новых_видов;
    }
    ++план_.новые.число_;
  }

 private:
  // The text an index keeps at `место`: a stored category's or kind's, or text `номер` of a record.
  std::string_view текст_в(Место место, int номер) const {
    const char* p = лента_.по(место);
    if (*p & (kКатегория | kВид)) {
      ++p;
      return прочитать_текст(p);
    }
    return у_.текст(p + 1, номер == kТекстВида ? у_.вид : у_.категория);
  }
  // The category (номер kТекстКатегории) or the kind (kТекстВида) of the form of `текст` that the
  // index keeps.
  std::optional<Место> найти_текст(const Указатель& указатель, int номер, std::uint64_t h,
                                   std::string_view текст) const {
    return указатель.найти(h, [&](Место m) { return одна_форма(текст_в(m, номер), текст); });
  }
  std::optional<Место> найти_запись(std::uint64_t h, std::string_view ключ) const {
    return записи_.найти(h, [&](Место m) { return у_.ключ(лента_.по(m) + 1) == ключ; });
  }
  bool все_пусты(const СтрокаCsv& с) const {
    for (const std::string& поле : с.поля)
      if (!пустое_поле(поле, т_.utf8)) return false;
    return true;
  }
  bool повтор_заголовка(const СтрокаCsv& с) const {
    for (std::size_t i = 0; i < с.поля.size(); ++i)
      if (форма_поля(с.поля[i], т_.utf8) != т_.формы[i]) return false;
    return true;
  }

  // The record of a row through the field table (the code is not read), or why it is refused.
  std::variant<ЗаписьБазы, std::string> запись(const СтрокаCsv& с) const {
    const std::vector<ПолеКниги>& поля = т_.поля.поля();
    std::vector<std::string> значения(поля.size());
    for (std::size_t к = 0; к < поля.size(); ++к) {
      if (поля[к].код || !т_.место[к]) continue;
      std::string причина;
      if (!перекодировать(с.поля[*т_.место[к]], т_.utf8, поля[к], значения[к], причина)) return причина;
    }
    ЗаписьБазы з;
    for (std::size_t к = 0; к < поля.size(); ++к) {
      const ПолеКниги& п = поля[к];
      if (п.код) continue;
      const auto не_то = [&](std::string_view ожидается) {
        return "в столбце "_cps + в_кавычках(п.название) + " "_cps + показать(значения[к]) + " вместо "_cps +
               std::string(ожидается);
      };
      if (п.тип == ТипПоля::текст) {
        if (п.текст_из_ввода && !значения[к].empty()) {
          auto стало = п.текст_из_ввода(значения[к]);
          if (!стало) return не_то(п.что_ожидается);
          значения[к] = std::move(*стало);
        }
        п.задать_текст(з, std::move(значения[к]));
        continue;
      }
      if (значения[к].empty()) {  // no value: the field's default
        п.задать_число(з, п.по_умолчанию);
        continue;
      }
      if (п.число_из_ввода) {
        const auto n = п.число_из_ввода(значения[к]);
        if (!n) return не_то(п.что_ожидается);
        п.задать_число(з, *n);
        continue;
      }
      const СловаПоля слова = п.слова.value_or(СловаПоля{});
      const auto n = флаг(значения[к], слова.при_нуле, слова.при_единице);
      if (!n)
        return не_то(п.слова ? в_кавычках(слова.при_единице) + " или "_cps + в_кавычках(слова.при_нуле) : "числа"_cps);
      п.задать_число(з, *n);
    }
    return з;
  }

  void отказ(const СтрокаCsv& с, std::string причина) {
    if (план_.отказы.size() < kЗамечанийВПлане) план_.отказы.push_back({с.строка, std::move(причина)});
    ++план_.отказов;
  }
  void пропуск(const СтрокаCsv& с, std::string причина) {
    if (план_.пропуски.size() < kЗамечанийВПлане) план_.пропуски.push_back({с.строка, std::move(причина)});
    ++план_.пропусков;
  }
  void замена(int номер, std::string_view было, std::string_view стало) {
    const std::string слова = номер == kТекстВида
                                  ? "Вид "_cps + в_кавычках(было) + " записан как "_cps + в_кавычках(стало)
                                  : "Категория "_cps + в_кавычках(было) + " записана как "_cps + в_кавычках(стало);
    if (замены_.contains(слова)) return;
    if (план_.замены.size() >= kЗамечанийВПлане) {
      план_.замен_больше = true;
      return;
    }
    замены_.insert(слова);
    план_.замены.push_back(std::move(слова));
  }

  ПланИмпорта& план_;
  ЛентаБайтов& лента_;
  const Таблица& т_;
  const УпаковкаЗаписей у_;
  Указатель записи_, категории_, виды_;
  std::string ключ_;              // the entry being made
  std::set<std::string> замены_;  // the replacements named, at most kЗамечанийВПлане
};

void ЗаписиИмпорта::для_каждой(const std::function<void(const ЗаписьБазы&, bool, bool)>& f) const {
  const УпаковкаЗаписей у(*таблица_);
  лента_.обойти([&у](const char* p) { return длина_записи(у, p); }, [&f, &у, this](Место m) {
    const char* p = лента_.по(m);
    const auto флаги = static_cast<unsigned char>(*p);
    if (!(флаги & kЗаписьФайла)) return;
    ++p;
    f(у.прочитать(p), (флаги & kНоваяКатегория) != 0, (флаги & kНовыйВид) != 0);
  });
}

std::vector<ЗаписьБазы> ЗаписиИмпорта::все() const {
  std::vector<ЗаписьБазы> out;
  out.reserve(число_);
  для_каждой([&out](const ЗаписьБазы& з, bool, bool) { out.push_back(з); });
  return out;
}

std::optional<std::variant<ПланИмпорта, ОтказФайла>> разобрать_импорт(std::string_view bytes,
                                                                       const std::function<bool(std::size_t)>& report,
                                                                       const ТаблицаПолей& table) {
  using Итог = std::variant<ПланИмпорта, ОтказФайла>;
  if (bytes.find('\0') != std::string_view::npos)
    return Итог(ОтказФайла{"Это не таблица: в файле есть двоичные данные."_cps});
  Таблица т(table);
  const std::size_t начало = bytes.starts_with(kМеткаПорядкаБайтов) ? kМеткаПорядкаБайтов.size() : 0;
  т.utf8 = начало > 0 || cp1251::is_utf8(bytes);
  const std::string_view текст = bytes.substr(начало);
  // A field is kept to one character past the longest value: a guarding apostrophe may stand before it.
  ЧтениеCsv чтение(текст, разделитель_csv(текст), kДлиннейшееЗначение + 1, т.utf8, kНаибольшееЧислоСтолбцов + 1);
  const auto заголовок = чтение.следующая();
  if (!заголовок) return Итог(ОтказФайла{"Файл пуст."_cps});
  if (auto отказ = прочитать_заголовок(*заголовок, т)) return Итог(ОтказФайла{std::move(*отказ)});
  чтение.хранить_полей(т.столбцов);

  Итог итог(std::in_place_type<ПланИмпорта>);
  РазборИмпорта разбор(std::get<ПланИмпорта>(итог), т);
  разбор.известные();
  std::size_t строк = 0;
  while (auto строка = чтение.следующая()) {
    if (++строк % kСтрокМеждуОтчётами == 0 && report && !report(чтение.прочитано())) return std::nullopt;
    разбор.строка(*строка);
  }
  if (report && !report(текст.size())) return std::nullopt;
  return итог;
}

namespace {

std::string число(std::size_t n) { return std::to_string(n); }

}  // namespace

std::string итог_импорта(const ПланИмпорта& п, std::string_view файл) {
  std::string out = "Файл "_cps + в_кавычках(файл) + ".\nБудет добавлено записей: "_cps + число(п.новые.size()) +
                    ".\nУже есть в каталоге и не будут добавлены: "_cps + число(п.повторы_каталога) +
                    ".\nПовторяют более ранние строки файла: "_cps + число(п.повторы_файла) +
                    ".\nНовых категорий: "_cps + число(п.новых_категорий) + ".\nНовых видов: "_cps +
                    число(п.новых_видов) + "."_cps;
  if (п.повторы_заголовка > 0)
    out += "\nПовторяют первую строку файла и пропущены: "_cps + число(п.повторы_заголовка) + "."_cps;
  return out;
}

std::vector<std::string> замечания_импорта(const ПланИмпорта& п, std::size_t& ошибок) {
  std::vector<std::string> out;
  const auto строки = [&out](const std::vector<ОтказСтроки>& список, std::size_t всего, std::string_view ещё) {
    for (const ОтказСтроки& о : список) out.push_back("Строка "_cps + число(о.строка) + ": "_cps + о.причина);
    if (всего > список.size()) out.push_back(std::string(ещё) + число(всего - список.size()));
  };
  строки(п.отказы, п.отказов, "… и ещё строк с ошибками: "_cp);
  ошибок = out.size();
  строки(п.пропуски, п.пропусков, "… и ещё пропущенных строк: "_cp);
  std::vector<std::string> категории, виды;
  if (п.новых_категорий + п.новых_видов > 0)
    п.новые.для_каждой([&](const ЗаписьБазы& з, bool новая_категория, bool новый_вид) {
      if (новая_категория && категории.size() < kЗамечанийВПлане)
        категории.push_back("Новая категория "_cps + в_кавычках(з.категория));
      if (новый_вид && виды.size() < kЗамечанийВПлане) виды.push_back("Новый вид "_cps + в_кавычках(з.вид));
    });
  const auto имена = [&out](std::vector<std::string>& список, std::size_t всего, std::string_view ещё) {
    for (std::string& s : список) out.push_back(std::move(s));
    if (всего > список.size()) out.push_back(std::string(ещё) + число(всего - список.size()));
  };
  имена(категории, п.новых_категорий, "… и ещё новых категорий: "_cp);
  имена(виды, п.новых_видов, "… и ещё новых видов: "_cp);
  out.insert(out.end(), п.замены.begin(), п.замены.end());
  if (п.замен_больше) out.push_back("… и другие такие же замены"_cps);
  return out;
}

std::variant<std::string, ОтказФайла> байты_импорта(std::string_view path, std::string_view файл) {
  std::optional<std::string> байты;
  try {
    байты = IO_RdFileBytes(path, kНаибольшийФайлИмпорта);
  } catch (const RunError& e) {
    return ОтказФайла{текст_отказа("Не удалось прочитать файл "_cps + в_кавычках(файл), e)};
  }
  if (!байты) return ОтказФайла{"Файл "_cps + в_кавычках(файл) + " слишком велик для импорта: больше 256 МБ."_cps};
  return std::move(*байты);
}

ИмпортироватьЗаписи операция_импорта(const ПланИмпорта& п, std::string файл) {
  ИмпортироватьЗаписи оп;
  оп.записи.reserve(п.новые.size());
  п.новые.для_каждой([&оп](const ЗаписьБазы& з, bool новая_категория, bool новый_вид) {
    оп.записи.push_back(з);
    if (новая_категория) оп.категории.push_back(з.категория);
    if (новый_вид) оп.виды.push_back(з.вид);
  });
  оп.источник = std::move(файл);
  return оп;
}
