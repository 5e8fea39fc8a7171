// Lending without windows (see lending.h).
#include "core/lending.h"

#include <algorithm>
#include <climits>
#include <ctime>
#include <unordered_map>
#include <unordered_set>

#include "core/catalogue_files.h"
#include "core/csv_table.h"
#include "core/list_line.h"
#include "core/list_search.h"
#include "core/record_codes.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/run_error.h"

namespace {

namespace chr = std::chrono;

std::string кавычки(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

bool цифры(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int число(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

std::string две_цифры(unsigned n) { return std::string{char('0' + n / 10 % 10), char('0' + n % 10)}; }

// The first byte of a cp1251 word and a dot; the word's letters are single bytes.
std::string инициал(std::string_view слово) { return std::string(1, слово.front()) + "."; }

}  // namespace

std::optional<День> дата_из_текста(std::string_view t) {
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
  const std::string_view г = t.substr(0, 4), м = t.substr(5, 2), д = t.substr(8, 2);
  if (!цифры(г) || !цифры(м) || !цифры(д)) return std::nullopt;
  const chr::year_month_day ymd{chr::year{число(г)}, chr::month{static_cast<unsigned>(число(м))},
                                chr::day{static_cast<unsigned>(число(д))}};
  if (!ymd.ok()) return std::nullopt;
  return День{ymd};
}

std::string текст_даты(День день) {
  const chr::year_month_day ymd{день};
  const int год = static_cast<int>(ymd.year());
  std::string t = std::to_string(год);
  while (t.size() < 4) t.insert(t.begin(), '0');
  return t + "-" + две_цифры(static_cast<unsigned>(ymd.month())) + "-" + две_цифры(static_cast<unsigned>(ymd.day()));
}

std::string показ_даты(std::string_view text) {
  if (!дата_из_текста(text)) return std::string(text);
  return std::string(text.substr(8, 2)) + "." + std::string(text.substr(5, 2)) + "." + std::string(text.substr(0, 4));
}

День сегодня() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return День{chr::year{local.tm_year + 1900} / chr::month{static_cast<unsigned>(local.tm_mon + 1)} /
              chr::day{static_cast<unsigned>(local.tm_mday)}};
}

std::optional<День> дата_из_ввода(std::string_view text) {
  const std::size_t a = text.find_first_not_of(' ');
  if (a == std::string_view::npos) return std::nullopt;
  const std::string_view t = text.substr(a, text.find_last_not_of(' ') - a + 1);
  if (t.size() == 10 && t[2] == '.' && t[5] == '.' && t.find('-') == std::string_view::npos)
    return дата_из_текста(std::string(t.substr(6, 4)) + "-" + std::string(t.substr(3, 2)) + "-" + std::string(t.substr(0, 2)));
  return дата_из_текста(t);
}

std::variant<День, std::string> срок_из_ввода(std::string_view text, День день) {
  const auto срок = дата_из_ввода(text);
  if (!срок)
    return кавычки(text) + " — не дата. Введите срок как ДД.ММ.ГГГГ, например "_cps +
           показ_даты(текст_даты(день + chr::days(срок_выдачи()))) + "."_cps;
  if (*срок < день)
    return "Срок "_cps + показ_даты(текст_даты(*срок)) + " уже прошёл: книгу нельзя выдать на срок раньше сегодняшнего дня ("_cps +
           показ_даты(текст_даты(день)) + ")."_cps;
  return *срок;
}

int срок_выдачи() {
  const auto дней = срок_выдачи_дней.get();
  return дней && *дней > 0 ? *дней : срок_выдачи_обычный;
}

std::optional<Читатель> читатель_по_коду(std::int32_t код) {
  return читатель_лит.first([код](const Читатель& ч) { return ч.код == код; });
}

std::string краткое_имя(std::string_view фио) {
  std::vector<std::string_view> слова;
  for (std::size_t i = 0; i < фио.size();) {
    const std::size_t начало = фио.find_first_not_of(' ', i);
    if (начало == std::string_view::npos) break;
    const std::size_t конец = std::min(фио.find(' ', начало), фио.size());
    слова.push_back(фио.substr(начало, конец - начало));
    i = конец;
  }
  if (слова.empty()) return std::string();
  std::string имя(слова[0]);
  for (std::size_t i = 1; i < слова.size(); ++i) имя += " " + инициал(слова[i]);
  return имя;
}

std::vector<ЗаписьБазы> книги_по_запросу(std::string_view текст, std::size_t не_больше) {
  const std::vector<std::string> слова = слова_поиска(текст);
  if (слова.empty()) return {};
  const std::string& первое = слова.front();
  if (слова.size() == 1 && цифры(первое) && первое.size() < 10) {
    std::vector<ЗаписьБазы> записи = база_лит.по_коду(число(первое));
    if (!записи.empty()) return {записи.front()};
  }
  std::unordered_set<std::int32_t> по_isbn;
  if (const auto isbn = isbn_для_хранения(текст); isbn && !isbn->empty())
    for (const СведенияЛит& с : сведения_лит.facts())
      if (с.сведения.isbn == *isbn) по_isbn.insert(с.код);
  // Only the books found are given their lines and put in the list's order.
  std::vector<std::pair<std::string, ЗаписьБазы>> найдено;
  for (auto v : база_лит.views()) {
    if (!по_isbn.empty() && !по_isbn.contains(v[&ЗаписьБазы::код])) continue;
    ЗаписьБазы з = v.record();
    if (по_isbn.empty() && !подходит(форма_поиска(з), слова)) continue;
    if (auto строка = строка_списка(з)) найдено.emplace_back(std::move(*строка), std::move(з));
    if (найдено.size() >= не_больше) break;
  }
  std::stable_sort(найдено.begin(), найдено.end(),
                   [](const auto& a, const auto& b) { return строка_раньше(a.first, b.first); });
  std::vector<ЗаписьБазы> out;
  out.reserve(найдено.size());
  for (auto& [строка, з] : найдено) out.push_back(std::move(з));
  return out;
}

std::vector<Читатель> читатели_по_запросу(std::string_view текст) {
  const std::vector<std::string> слова = слова_поиска(текст);
  std::vector<Читатель> out;
  for (const Читатель& ч : читатель_лит.facts())
    if (слова.empty() || подходит(CONV_SearchForm(ч.фио) + "\n" + CONV_SearchForm(ч.группа), слова)) out.push_back(ч);
  std::sort(out.begin(), out.end(),
            [](const Читатель& a, const Читатель& b) { return a.фио != b.фио ? a.фио < b.фио : a.код < b.код; });
  return out;
}

std::unordered_map<std::int32_t, int> книг_на_руках_у_читателей() {
  std::unordered_map<std::int32_t, int> out;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::возвращена].empty()) ++out[v[&Выдача::код_читателя]];
  return out;
}

std::vector<Выдача> выдачи_на_руках(std::int32_t код_книги) {
  std::vector<Выдача> out;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::код_книги] == код_книги && v[&Выдача::возвращена].empty()) out.push_back(v.record());
  return out;
}

std::vector<Выдача> выдачи_читателя(std::int32_t код_читателя) {
  std::vector<Выдача> out;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::код_читателя] == код_читателя) out.push_back(v.record());
  return out;
}

std::vector<Выдача> выдачи_книги(std::int32_t код_книги) {
  std::vector<Выдача> out;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::код_книги] == код_книги) out.push_back(v.record());
  return out;
}

namespace {

// Who has a book out by its loans out, in the order of issue: each reader's short name (`имя`
// gives it; none for a reader no longer kept, named by the code) and the due date.
template <class Имя>
std::string кто_по_выдачам(const std::vector<Выдача>& выдачи, Имя имя) {
  std::string кто;
  for (const Выдача& в : выдачи) {
    const std::optional<std::string> ч = имя(в.код_читателя);
    кто += (кто.empty() ? ""_cps : "; "_cps) + (ч ? *ч : "читатель "_cps + std::to_string(в.код_читателя)) +
           ", до "_cps + показ_даты(в.срок);
  }
  return кто;
}

}  // namespace

std::string кто_на_руках(std::int32_t код_книги) {
  return кто_по_выдачам(выдачи_на_руках(код_книги), [](std::int32_t код) -> std::optional<std::string> {
    const auto ч = читатель_по_коду(код);
    return ч ? std::optional(краткое_имя(ч->фио)) : std::nullopt;
  });
}

std::string строка_на_руках(std::int32_t код_книги) {
  const std::string кто = кто_на_руках(код_книги);
  return кто.empty() ? кто : "На руках: "_cps + кто;
}

std::unordered_map<std::int32_t, std::string> кто_на_руках_по_книгам() {
  std::unordered_map<std::int32_t, std::vector<Выдача>> на_руках;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::возвращена].empty()) на_руках[v[&Выдача::код_книги]].push_back(v.record());
  // The first reader of a code, as читатель_по_коду finds it.
  std::unordered_map<std::int32_t, std::string> имена;
  for (auto v : читатель_лит.views()) имена.try_emplace(v[&Читатель::код], краткое_имя(v[&Читатель::фио]));
  std::unordered_map<std::int32_t, std::string> out;
  out.reserve(на_руках.size());
  for (const auto& [книга, выдачи] : на_руках)
    out.emplace(книга, кто_по_выдачам(выдачи, [&имена](std::int32_t код) -> std::optional<std::string> {
                  const auto it = имена.find(код);
                  return it == имена.end() ? std::nullopt : std::optional(it->second);
                }));
  return out;
}

std::optional<std::string> читателя_нельзя_удалить(const Читатель& ч) {
  std::string книги;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::код_читателя] == ч.код && v[&Выдача::возвращена].empty())
      книги += "\n"_cps + название_книги(v[&Выдача::код_книги]) + ", до "_cps + показ_даты(v[&Выдача::срок]);
  if (книги.empty()) return std::nullopt;
  return "Читателя "_cps + кавычки(ч.фио) + " удалить нельзя: у него на руках книги. Сначала примите их:"_cps + книги;
}

std::string название_книги(std::int32_t код) {
  std::string t = "книга "_cps + std::to_string(код);
  for (auto v : база_лит.views())
    if (v[&ЗаписьБазы::код] == код) return t + " "_cps + кавычки(v[&ЗаписьБазы::наименование]);
  return t;
}

std::optional<std::string> все_экземпляры_на_руках(std::int32_t код) {
  const std::vector<Выдача> на_руках = выдачи_на_руках(код);
  const int экземпляров = экземпляров_книги(код);
  if (static_cast<int>(на_руках.size()) < экземпляров) return std::nullopt;
  std::string кто;
  for (const Выдача& в : на_руках) {
    const auto ч = читатель_по_коду(в.код_читателя);
    кто += (кто.empty() ? ""_cps : "; "_cps) + (ч ? ч->фио : "читатель "_cps + std::to_string(в.код_читателя)) +
           " — до "_cps + показ_даты(в.срок);
  }
  return экземпляров == 1 ? название_книги(код) + " на руках: "_cps + кто
                          : "все экземпляры ("_cps + std::to_string(экземпляров) + ") — "_cps + название_книги(код) +
                                " — на руках: "_cps + кто;
}

int дней_просрочки(const Выдача& в, День день) {
  const auto срок = дата_из_текста(в.срок);
  if (!срок) return 0;
  if (!в.на_руках()) {
    const auto вернули = дата_из_текста(в.возвращена);
    if (!вернули) return 0;
    день = *вернули;
  }
  return std::max(0, static_cast<int>((день - *срок).count()));
}

std::vector<Долг> должники(День день) {
  // The due date past today is the test on the text: "ГГГГ-ММ-ДД" sorts as the days do.
  const std::string сегодня_текст = текст_даты(день);
  std::vector<Долг> долги;
  for (auto v : выдача_лит.views()) {
    if (!v[&Выдача::возвращена].empty() || v[&Выдача::срок] >= сегодня_текст) continue;
    Выдача в = v.record();
    const int дней = дней_просрочки(в, день);
    if (дней <= 0) continue;  // a due date that is not a date
    долги.push_back({std::move(в), дней, {}, {}, {}, {}, {}});
  }
  if (долги.empty()) return долги;
  std::unordered_map<std::int32_t, std::vector<std::size_t>> по_книге, по_читателю;
  for (std::size_t i = 0; i < долги.size(); ++i) {
    по_книге[долги[i].выдача.код_книги].push_back(i);
    по_читателю[долги[i].выдача.код_читателя].push_back(i);
  }
  for (auto v : база_лит.views()) {
    const auto it = по_книге.find(v[&ЗаписьБазы::код]);
    if (it == по_книге.end()) continue;
    for (std::size_t i : it->second) {
      долги[i].автор = v[&ЗаписьБазы::автор];
      долги[i].наименование = v[&ЗаписьБазы::наименование];
    }
  }
  for (const Читатель& ч : читатель_лит.facts()) {
    const auto it = по_читателю.find(ч.код);
    if (it == по_читателю.end()) continue;
    for (std::size_t i : it->second) {
      долги[i].фио = ч.фио;
      долги[i].группа = ч.группа;
      долги[i].телефон = ч.телефон;
    }
  }
  std::sort(долги.begin(), долги.end(), [](const Долг& a, const Долг& b) {
    if (a.дней != b.дней) return a.дней > b.дней;
    if (a.выдача.срок != b.выдача.срок) return a.выдача.срок < b.выдача.срок;
    if (a.фио != b.фио) return a.фио < b.фио;
    return a.выдача.код_книги < b.выдача.код_книги;
  });
  return долги;
}

const std::vector<std::string>& колонки_должников() {
  static const std::vector<std::string> колонки = {"Дней"_cps, "Читатель"_cps, "Группа"_cps, "Телефон"_cps, "Код"_cps,
                                                   "Автор"_cps, "Наименование"_cps, "Срок"_cps};
  return колонки;
}

std::vector<std::string> ячейки_долга(const Долг& д) {
  return {std::to_string(д.дней),
          д.фио.empty() ? "читатель "_cps + std::to_string(д.выдача.код_читателя) : д.фио,
          д.группа,
          д.телефон,
          std::to_string(д.выдача.код_книги),
          д.автор,
          д.наименование,
          показ_даты(д.выдача.срок)};
}

std::string csv_должников(const std::vector<Долг>& долги) {
  std::string t;
  const auto строка = [&t](const std::vector<std::string>& ячейки) {
    std::string row;
    for (std::size_t i = 0; i < ячейки.size(); ++i) {
      if (i > 0) row.push_back(',');
      добавить_значение_csv(row, ячейки[i]);
    }
    t += row + "\r\n";
  };
  строка(колонки_должников());
  for (const Долг& д : долги) строка(ячейки_долга(д));
  return t;
}

std::size_t число_просроченных(День день) {
  const std::string сегодня_текст = текст_даты(день);
  std::size_t n = 0;
  for (auto v : выдача_лит.views())
    if (v[&Выдача::возвращена].empty() && v[&Выдача::срок] < сегодня_текст && дата_из_текста(v[&Выдача::срок])) ++n;
  return n;
}

namespace {

// What the problems of the loans are judged against: the codes present and the highest given.
struct Известное {
  std::unordered_set<std::int32_t> книги, читатели;
  std::int32_t наибольшая_книга = 0, наибольший_читатель = 0;
};

Известное известное() {
  Известное и;
  for (auto v : база_лит.views()) и.книги.insert(v[&ЗаписьБазы::код]);
  for (auto v : читатель_лит.views()) и.читатели.insert(v[&Читатель::код]);
  и.наибольшая_книга = наибольший_данный_код().value_or(0);
  и.наибольший_читатель = наибольший_данный_код_читателя().value_or(0);
  return и;
}

// A code is known when it is present, or was given and then deleted (the loans keep its history).
bool код_известен(std::int32_t код, const std::unordered_set<std::int32_t>& есть, std::int32_t наибольший) {
  return есть.contains(код) || (код > 0 && код <= наибольший);
}

std::vector<std::string> замечания(const Выдача& в, const Известное& и) {
  std::vector<std::string> out;
  if (!код_известен(в.код_книги, и.книги, и.наибольшая_книга))
    out.push_back("книги с кодом "_cps + std::to_string(в.код_книги) + " в каталоге нет"_cps);
  if (!код_известен(в.код_читателя, и.читатели, и.наибольший_читатель))
    out.push_back("читателя с кодом "_cps + std::to_string(в.код_читателя) + " нет"_cps);
  const auto выдана = дата_из_текста(в.выдана);
  const auto срок = дата_из_текста(в.срок);
  if (!выдана) out.push_back("дата выдачи "_cps + кавычки(в.выдана) + " — не дата"_cps);
  if (!срок) out.push_back("срок "_cps + кавычки(в.срок) + " — не дата"_cps);
  if (выдана && срок && *срок < *выдана)
    out.push_back("срок "_cps + показ_даты(в.срок) + " раньше даты выдачи "_cps + показ_даты(в.выдана));
  if (!в.на_руках()) {
    const auto вернули = дата_из_текста(в.возвращена);
    if (!вернули)
      out.push_back("дата возврата "_cps + кавычки(в.возвращена) + " — не дата"_cps);
    else if (выдана && *вернули < *выдана)
      out.push_back("возвращена "_cps + показ_даты(в.возвращена) + ", раньше даты выдачи "_cps + показ_даты(в.выдана));
  }
  return out;
}

std::string вместе(const std::vector<std::string>& части) {
  std::string t;
  for (const std::string& ч : части) t += (t.empty() ? "" : "; ") + ч;
  return t;
}

}  // namespace

std::vector<std::string> замечания_выдачи(const Выдача& выдача) { return замечания(выдача, известное()); }

std::vector<ЗамечаниеВыдачи> замечания_выдач() {
  std::vector<ЗамечаниеВыдачи> out;
  if (выдача_лит.empty()) return out;
  const Известное и = известное();
  std::size_t номер = 0;
  for (const Выдача& в : выдача_лит.facts()) {
    ++номер;
    const auto з = замечания(в, и);
    if (!з.empty()) out.push_back({номер, вместе(з)});
  }
  return out;
}

std::optional<std::string> сообщение_о_выдачах() {
  const auto з = замечания_выдач();
  if (з.empty()) return std::nullopt;
  constexpr std::size_t kПоказано = 20;
  std::string t = "В файле "_cps + кавычки(файл_выдач) + " есть выдачи с ошибками ("_cps + std::to_string(з.size()) +
                  "). Эти строки сохранены как есть; исправьте их или примите книги заново:"_cps;
  for (std::size_t i = 0; i < з.size() && i < kПоказано; ++i)
    t += "\nстрока "_cps + std::to_string(з[i].номер) + ": "_cps + з[i].причина;
  if (з.size() > kПоказано) t += "\n… и ещё "_cps + std::to_string(з.size() - kПоказано);
  return t;
}

std::optional<std::int32_t> наибольший_данный_код_читателя() {
  std::optional<std::int32_t> код = наибольший_код_читателя.get();
  for (auto v : читатель_лит.views()) код = std::max(код.value_or(INT32_MIN), v[&Читатель::код]);
  return код;
}

std::int32_t новый_код_читателя() {
  const auto наибольший = наибольший_данный_код_читателя();
  std::int32_t код = 1;
  if (наибольший && __builtin_add_overflow(*наибольший, 1, &код)) RUN_Error(errcode::kIntOverflow);
  наибольший_код_читателя.replace(код);
  return код;
}
