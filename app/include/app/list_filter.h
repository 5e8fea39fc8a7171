// The find field of the literature list window and the filter it sets: the window keeps the lines
// of its list (the lines the list box holds without a filter, in the list's order) with the search
// form of each line's record, made once per filling (the filter as data is core/list_search.h);
// every change of the field shows the lines whose record holds every word typed, in the same
// order, and the window's title counts them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_search.h"
#include "layer/types.h"

// Makes the find field ("Найти:" and its edit field) of a list window and takes the window's
// filter into the session; a list window of its own is needed.
void создать_поле_поиска(Window win);
// The height the find field takes above the list, and its placing in the row below `top`.
std::int32_t высота_поля_поиска();
void разместить_поле_поиска(Window win, std::int32_t top, std::int32_t width);
// The keyboard focus to the find field, its text selected ("Найти…").
void перейти_к_полю_поиска(Window win);
// The list window closes: its filter goes.
void забыть_поиск(Window win);

// The lines (in the list's order) become the list of the list box's window and are shown through
// its filter; a window without a filter shows them all.
void показать_строки(Window list_box, std::vector<СтрокаПоиска> lines);
// The line of every record (core/list_search.h: строки_каталога), in table order, placed by the
// sorted list box, as the list box's lines (which it holds none of before: it is new, or
// cleared); the list window shows them through its find filter.
void заполнитьсписок(Window list_box);
// The find field's text changed: the list shows the lines it selects, and the title counts them.
void применить_поиск(Window win, std::string_view text);
// Removes the line at `position` of the list box from the list box and from its window's list.
void удалить_строку_списка(Window list_box, int position);
// A record's line went and another came (either may be absent): the window's list and the list
// box change in place, the new line at its sorted place and shown only when the filter selects
// it, and the title's count follows. The list is not filled again, so this is quick at any size.
void заменить_строку_списка(Window list_box, const std::optional<std::string>& old_line,
                            std::optional<СтрокаПоиска> new_line);
// The window's title without a filter; while a filter is on, the title says how many lines of
// how many are shown ("Найдено 12 из 100000") and this title comes back when it is cleared.
void установить_заголовок_списка(Window win, std::string_view title);

// Whether the list window's filter is on.
bool фильтр_включён(Window win);
// How many lines the list window shows, and how many its list has.
std::size_t показано_строк(Window win);
std::size_t всего_строк(Window win);
// The list window whose filter the user changed last, while its filter is on.
std::optional<Window> окно_с_фильтром();
