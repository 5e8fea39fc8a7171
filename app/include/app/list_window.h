// The literature list window: the whole catalogue as one formatted line per record in a sorted
// list box, or as the table view over the same lines (list_table.h, "Вид"), with its own toolbar,
// help line, menu (меню_просмотра) and find field (list_filter.h), from which the selected record
// is deleted, edited or written out as a card; its selection and tools are list_selection.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/change_path.h"
#include "layer/layer.h"

Window win_просмотрсписка_Create(Window parent);
std::optional<long> win_просмотрсписка_eh(Window win, const Event& ev);
// The window's toolbar: the buttons Delete, Edit and Card of the command table, enabled while the
// window's operations are on (list_selection.h).
void tb_инспросмотра_Create(Window win);
// The task window is being destroyed and its list windows with it: they give nothing back to it.
void забыть_окна_просмотра();
// "Найти книгу…" (and Ctrl+F): given in a list window, the keyboard goes to its find field; given
// in the task window, the list window opened last comes to the top (a new one is opened when there
// is none) with the keyboard in its find field. False when no list window could be opened.
bool найти_книгу(Window from);
// A change of the catalogue (a subscriber of the change path): every open list window but the
// one the change was made in (which shows it as its command says) shows the records gone and
// come at once, through its find filter, in place (a change of many records fills its list
// again); a window left without a selected line is put back to the state of a window without a
// selection.
void показать_изменения(const Изменения& changes);
