// The find field of the literature list window and its filter (see list_filter.h).
#include "app/list_filter.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/list_table.h"
#include "app/session.h"
#include "app/shown_records.h"
#include "core/catalogue_facts.h"
#include "core/list_line.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

// The find row: its height, the label's width and the margins around the edit field, in pixels.
constexpr std::int32_t kВысотаСтроки = 28;
constexpr std::int32_t kШиринаНадписи = 52;
constexpr std::int32_t kПоле = 4;

ПоискОкна* поиск(Window win) {
  auto& все = сеанс().поиск_списков;
  const auto it = все.find(win);
  return it == все.end() ? nullptr : &it->second;
}

void обновить_заголовок(Window win, const ПоискОкна& п) {
  if (п.список.слова.empty()) {
    win_SetText(win, п.заголовок);
    return;
  }
  win_SetText(win, "Найдено "_cps + std::to_string(п.список.показанные.size()) + " из "_cps +
                       std::to_string(п.список.строки.size()));
}

// The list box shows the lines the filter selects. The line selected before stays selected when
// it is still shown (quietly: the window hears of no new selection).
void показать(Window win, ПоискОкна& п) {
  const Window список = win_GetCtlHandle(win, ид_списка);
  const std::vector<std::size_t>& показанные = п.список.показанные;
  std::optional<std::size_t> выбранная;
  if (const auto i = lbox_GetSelIndex(список); i && static_cast<std::size_t>(*i) < показанные.size())
    выбранная = показанные[static_cast<std::size_t>(*i)];
  lbox_SetAllViews(список, п.список.отобрать_виды());
  if (выбранная)
    if (const auto место = п.список.место_показа(*выбранная)) lbox_SetSel(список, static_cast<int>(*место), 1);
  обновить_заголовок(win, п);
  обновить_таблицу(win);
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
    win_SetFocus(показанный_список(win_GetParent(поле)));
    return 0;
  }
  return std::nullopt;
}

}  // namespace

void создать_поле_поиска(Window win) {
  сеанс().поиск_списков[win] = ПоискОкна{};
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

void забыть_поиск(Window win) { сеанс().поиск_списков.erase(win); }

void показать_строки(Window list_box, std::vector<СтрокаПоиска> lines) {
  const Window win = win_GetParent(list_box);
  ПоискОкна* п = поиск(win);
  if (!п) {
    std::vector<std::string> строки;
    строки.reserve(lines.size());
    for (СтрокаПоиска& с : lines) строки.push_back(std::move(с.строка));
    lbox_SetAll(list_box, std::move(строки));
    return;
  }
  п->список.задать_строки(std::move(lines));  // no line shown now is one of the new lines
  ++п->версия;
  показать(win, *п);
}

void заполнитьсписок(Window list_box) {
  const Window win = win_GetParent(list_box);
  ПоискОкна* п = поиск(win);
  if (!п) {
    показать_строки(list_box, строки_каталога());
    return;
  }
  п->список.задать_каталог();
  ++п->версия;
  показать(win, *п);
}

void применить_поиск(Window win, std::string_view text) {
  ПоискОкна* п = поиск(win);
  if (!п) return;
  п->список.слова = слова_поиска(text);
  п->порядок = ++сеанс().изменений_поиска;
  показать(win, *п);
}

void удалить_строку_списка(Window list_box, int position) {
  lbox_Delete(list_box, position);
  const Window win = win_GetParent(list_box);
  ПоискОкна* п = поиск(win);
  if (!п || position < 0 || static_cast<std::size_t>(position) >= п->список.показанные.size()) return;
  п->список.убрать(п->список.показанные[static_cast<std::size_t>(position)]);
  ++п->версия;
  if (!п->список.слова.empty()) обновить_заголовок(win, *п);
  обновить_таблицу(win);
}

void заменить_строку_списка(Window list_box, const std::optional<std::string>& old_line,
                            std::optional<СтрокаПоиска> new_line) {
  ПоискОкна* п = поиск(win_GetParent(list_box));
  if (!п) {
    if (old_line) {
      const std::vector<std::string> строки = lbox_GetAll(list_box);
      const auto it = std::find(строки.begin(), строки.end(), *old_line);
      if (it != строки.end()) lbox_Delete(list_box, static_cast<int>(it - строки.begin()));
    }
    if (new_line) lbox_Add(list_box, -1, new_line->строка);
    return;
  }
  ПоискСписка& список = п->список;
  if (old_line) {
    if (const auto i = список.найти(*old_line)) {
      if (const auto место = список.место_показа(*i)) lbox_Delete(list_box, static_cast<int>(*место));
      список.убрать(*i);
      ++п->версия;
    }
  }
  if (new_line) {
    std::string строка = new_line->строка;
    // The sorted list box puts the line where the list puts it: after the equal lines.
    if (список.вставить(std::move(*new_line))) lbox_Add(list_box, -1, std::move(строка));
    ++п->версия;
  }
  if (!список.слова.empty()) обновить_заголовок(win_GetParent(list_box), *п);
  обновить_таблицу(win_GetParent(list_box));
}

void установить_заголовок_списка(Window win, std::string_view title) {
  ПоискОкна* п = поиск(win);
  if (!п) {
    win_SetText(win, std::string(title));
    return;
  }
  п->заголовок = title;
  обновить_заголовок(win, *п);
}

bool фильтр_включён(Window win) {
  const ПоискОкна* п = поиск(win);
  return п && !п->список.слова.empty();
}

std::size_t показано_строк(Window win) {
  const ПоискОкна* п = поиск(win);
  return п ? п->список.показанные.size() : 0;
}

std::size_t всего_строк(Window win) {
  const ПоискОкна* п = поиск(win);
  return п ? п->список.строки.size() : 0;
}

std::optional<Window> окно_с_фильтром() {
  std::optional<Window> найденное;
  std::uint64_t позже = 0;
  for (const auto& [win, п] : сеанс().поиск_списков)
    if (!п.список.слова.empty() && п.порядок >= позже && win_GetType(win) == wk_TopLevel) {
      найденное = win;
      позже = п.порядок;
    }
  return найденное;
}

std::vector<ЗаписьБазы> показанные_записи(Window win) {
  std::vector<std::int32_t> коды;
  if (const ПоискОкна* п = поиск(win)) {
    for (std::size_t i : п->список.показанные)
      if (const auto код = код_строки(п->список.строки[i])) коды.push_back(*код);
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
