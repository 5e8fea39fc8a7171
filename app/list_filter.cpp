// The find field of the literature list window and its filter (see list_filter.h).
#include "app/list_filter.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/list_window.h"
#include "app/session.h"
#include "app/shown_records.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"

namespace {

// The find row: its height, the label's width and the margins around the edit field, in pixels.
constexpr std::int32_t kВысотаСтроки = 28;
constexpr std::int32_t kШиринаНадписи = 52;
constexpr std::int32_t kПоле = 4;

// Stands between the fields of a search form: no word typed holds it, so none matches across
// two fields.
constexpr char kМеждуПолями = '\x01';

ПоискСписка* поиск(Window win) {
  auto& все = сеанс().поиск_списков;
  const auto it = все.find(win);
  return it == все.end() ? nullptr : &it->second;
}

std::string_view форма(const ПоискСписка& п, std::size_t i) {
  return std::string_view(п.формы).substr(п.начала[i], п.начала[i + 1] - п.начала[i]);
}

void обновить_заголовок(Window win, const ПоискСписка& п) {
  if (п.слова.empty()) {
    win_SetText(win, п.заголовок);
    return;
  }
  win_SetText(win, "Найдено "_cps + std::to_string(п.показанные.size()) + " из "_cps + std::to_string(п.строки.size()));
}

// The list box shows the lines the filter selects. The line selected before stays selected when
// it is still shown (quietly: the window hears of no new selection).
void показать(Window win, ПоискСписка& п) {
  const Window список = win_GetCtlHandle(win, ид_списка);
  std::optional<std::size_t> выбранная;
  if (const auto i = lbox_GetSelIndex(список); i && static_cast<std::size_t>(*i) < п.показанные.size())
    выбранная = п.показанные[static_cast<std::size_t>(*i)];
  п.показанные.clear();
  std::vector<std::string> строки;
  for (std::size_t i = 0; i < п.строки.size(); ++i) {
    if (!подходит(форма(п, i), п.слова)) continue;
    п.показанные.push_back(i);
    строки.push_back(п.строки[i]);
  }
  lbox_SetAll(список, std::move(строки));
  if (выбранная) {
    const auto it = std::lower_bound(п.показанные.begin(), п.показанные.end(), *выбранная);
    if (it != п.показанные.end() && *it == *выбранная) lbox_SetSel(список, static_cast<int>(it - п.показанные.begin()), 1);
  }
  обновить_заголовок(win, п);
}

// Escape empties the field (which shows the whole list again); Down goes on to the list.
std::optional<long> поле_поиска_eh(Window поле, const Event& ev) {
  const auto* k = std::get_if<e_keydown>(&ev);
  if (!k || k->shift != 0) return std::nullopt;
  if (k->key == 27 && !win_GetText(поле).empty()) {
    win_SetText(поле, std::string());
    return 0;
  }
  if (k->key == k_Down) {
    win_SetFocus(win_GetCtlHandle(win_GetParent(поле), ид_списка));
    return 0;
  }
  return std::nullopt;
}

}  // namespace

std::string форма_поиска(const ЗаписьБазы& з) {
  std::string out;
  out.reserve(з.автор.size() + з.наименование.size() + з.категория.size() + з.вид.size() + з.обложка.size() + 4);
  for (const std::string* поле : {&з.автор, &з.наименование, &з.категория, &з.вид, &з.обложка}) {
    if (поле != &з.автор) out.push_back(kМеждуПолями);
    CONV_AppendSearchForm(out, *поле);
  }
  return out;
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

void создать_поле_поиска(Window win) {
  сеанс().поиск_списков[win] = ПоискСписка{};
  win_CreateControl(wk_Text, Rect{kПоле, 8, kПоле + kШиринаНадписи, 26}, "Найти:"_cps, win, {}, ид_надписи_поиска);
  const Window поле = win_CreateControl(wk_Edit, Rect{2 * kПоле + kШиринаНадписи, 4, 820, 26}, std::string(), win,
                                        {csf_TabStop, csf_AutoHScroll}, ид_поля_поиска);
  win_SetSubClassHandler(поле, поле_поиска_eh);
}

std::int32_t высота_поля_поиска() { return kВысотаСтроки; }

void разместить_поле_поиска(Window win, std::int32_t top, std::int32_t width) {
  const std::int32_t левый = 2 * kПоле + kШиринаНадписи;
  win_Move(win_GetCtlHandle(win, ид_надписи_поиска), Rect{kПоле, top + 7, левый - kПоле, top + kВысотаСтроки - 3});
  win_Move(win_GetCtlHandle(win, ид_поля_поиска),
           Rect{левый, top + 3, std::max(левый + 40, width - kПоле), top + kВысотаСтроки - 3});
}

void перейти_к_полю_поиска(Window win) {
  const Window поле = win_GetCtlHandle(win, ид_поля_поиска);
  win_SetFocus(поле);
  win_SelectText(поле, 0, -1);
}

bool найти_книгу(Window task) {
  const auto& окна = сеанс().окна_просмотра;
  const Window окно = окна.empty() ? win_просмотрсписка_Create(task) : окна.back();
  if (win_GetType(окно) != wk_TopLevel) return false;
  win_BringToTop(окно);
  перейти_к_полю_поиска(окно);
  return true;
}

void забыть_поиск(Window win) { сеанс().поиск_списков.erase(win); }

void показать_строки(Window list_box, std::vector<СтрокаПоиска> lines) {
  const Window win = win_GetParent(list_box);
  ПоискСписка* п = поиск(win);
  if (!п) {
    std::vector<std::string> строки;
    строки.reserve(lines.size());
    for (СтрокаПоиска& с : lines) строки.push_back(std::move(с.строка));
    lbox_SetAll(list_box, std::move(строки));
    return;
  }
  п->строки.clear();
  п->формы.clear();
  п->начала.assign(1, 0);
  п->строки.reserve(lines.size());
  п->начала.reserve(lines.size() + 1);
  for (СтрокаПоиска& с : lines) {
    п->строки.push_back(std::move(с.строка));
    п->формы += с.форма;
    п->начала.push_back(п->формы.size());
  }
  п->показанные.clear();  // no line shown now is one of the new lines
  показать(win, *п);
}

void применить_поиск(Window win, std::string_view text) {
  ПоискСписка* п = поиск(win);
  if (!п) return;
  п->слова = слова_поиска(text);
  п->порядок = ++сеанс().изменений_поиска;
  показать(win, *п);
}

void удалить_строку_списка(Window list_box, int position) {
  lbox_Delete(list_box, position);
  const Window win = win_GetParent(list_box);
  ПоискСписка* п = поиск(win);
  if (!п || position < 0 || static_cast<std::size_t>(position) >= п->показанные.size()) return;
  const std::size_t i = п->показанные[static_cast<std::size_t>(position)];
  const std::size_t длина = п->начала[i + 1] - п->начала[i];
  п->строки.erase(п->строки.begin() + static_cast<std::ptrdiff_t>(i));
  п->формы.erase(п->начала[i], длина);
  п->начала.erase(п->начала.begin() + static_cast<std::ptrdiff_t>(i));
  for (std::size_t k = i; k < п->начала.size(); ++k) п->начала[k] -= длина;
  п->показанные.erase(п->показанные.begin() + position);
  for (std::size_t& k : п->показанные)
    if (k > i) --k;
  if (!п->слова.empty()) обновить_заголовок(win, *п);
}

void установить_заголовок_списка(Window win, std::string_view title) {
  ПоискСписка* п = поиск(win);
  if (!п) {
    win_SetText(win, std::string(title));
    return;
  }
  п->заголовок = title;
  обновить_заголовок(win, *п);
}

bool фильтр_включён(Window win) {
  const ПоискСписка* п = поиск(win);
  return п && !п->слова.empty();
}

std::size_t показано_строк(Window win) {
  const ПоискСписка* п = поиск(win);
  return п ? п->показанные.size() : 0;
}

std::size_t всего_строк(Window win) {
  const ПоискСписка* п = поиск(win);
  return п ? п->строки.size() : 0;
}

std::optional<Window> окно_с_фильтром() {
  std::optional<Window> найденное;
  std::uint64_t позже = 0;
  for (const auto& [win, п] : сеанс().поиск_списков)
    if (!п.слова.empty() && п.порядок >= позже && win_GetType(win) == wk_TopLevel) {
      найденное = win;
      позже = п.порядок;
    }
  return найденное;
}

std::vector<ЗаписьБазы> показанные_записи(Window win) {
  std::vector<std::int32_t> коды;
  if (const ПоискСписка* п = поиск(win)) {
    for (std::size_t i : п->показанные)
      if (const auto код = код_строки(п->строки[i])) коды.push_back(*код);
  } else {
    for (const std::string& строка : lbox_GetAll(win_GetCtlHandle(win, ид_списка)))
      if (const auto код = код_строки(строка)) коды.push_back(*код);
  }
  const std::unordered_set<std::int32_t> нужные(коды.begin(), коды.end());
  std::unordered_map<std::int32_t, ЗаписьБазы> первые;
  for (auto v : база_лит.views()) {
    const std::int32_t код = v[&ЗаписьБазы::код];
    if (нужные.contains(код) && !первые.contains(код)) первые.emplace(код, v.record());
  }
  std::vector<ЗаписьБазы> out;
  out.reserve(коды.size());
  for (std::int32_t код : коды)
    if (const auto it = первые.find(код); it != первые.end()) out.push_back(it->second);
  return out;
}
