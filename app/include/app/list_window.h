// The literature list window: the whole catalogue as one formatted line per record in a sorted
// list box, with its own toolbar, help line, menu (меню_просмотра) and find field (list_filter.h),
// from which the selected record is deleted, edited or written out as a card.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/change_path.h"
#include "core/list_line.h"
#include "layer/layer.h"
#include "resources/ids.h"

Window win_просмотрсписка_Create(Window parent);
std::optional<long> win_просмотрсписка_eh(Window win, const Event& ev);
void tb_инспросмотра_Create(Window win);
// The task window is being destroyed and its list windows with it: they give nothing back to it.
void забыть_окна_просмотра();
// The window's three operations (Delete, Edit, Card), its toolbar buttons and menu items
// together, enabled or disabled: the one place that switches them.
void установить_доступность_операций(Window win, bool enabled);

// The list window that holds the keyboard focus (itself or one of its controls); 0 when none does.
Window окно_просмотра_с_фокусом();
// Title and tools back to those of a window without a selection.
void сбросить_выбор_окна(Window win);
// A change of the catalogue (a subscriber of the change path): every open list window but the
// one the change was made in (which shows it as its command says) shows the records gone and
// come at once, through its find filter, in place (a change of many records fills its list
// again); a window left without a selected line is put back to the state of a window without a
// selection.
void показать_изменения(const Изменения& changes);

// The line of every record (core/list_line.h), in table order, placed by the sorted list box, as
// the list box's lines (which it holds none of before: it is new, or cleared); the list window
// shows them through its find filter.
void заполнитьсписок(Window list_box);
// Succeeds for a non-empty position list; otherwise shows "Не выделена строка в списке" and fails.
bool естьвыделенныестроки(const std::vector<int>& positions);
// The list box's selection, stored as выделенныеэлементыспискапросмотра; nothing (after the
// message) when no line is selected.
std::optional<ВыбранныеСтроки> запомнить_выделение(Window win);
