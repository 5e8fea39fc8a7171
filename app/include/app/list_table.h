// The table view of the literature list window: the list's records as a multi-column list (the
// layer's lview_, no widget per row) under a header of the field table's table columns
// (core/list_table.h), with full texts, columns the user shows, hides and resizes, and a sort by
// a header's click (stable, in the list's order of texts; a second click reverses); and the pane
// beside it with the selected book's cover and details. The list box stays the list window's
// list: the table shows the lines its find filter shows (session.h: ПоискОкна) and mirrors its
// selection both ways, so every command on a selected line acts in the table as in the lines.
// The view, the pane, the columns, the sort and the window's place are remembered between runs
// in the user's settings folder (user_settings.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/changes.h"
#include "layer/layer.h"

// The settings file of the list window, in the user's settings folder.
inline constexpr std::string_view файл_настроек_списка = "список.txt";

// The list window's place as it was left (its client rectangle in the task window's client
// coordinates); none the first time.
std::optional<Rect> место_окна_списка();

// Makes the table and the pane of a new list window, hidden unless the remembered view is the
// table, with the remembered columns and sort.
void создать_таблицу(Window win);
// The list window closes: its view, pane, columns, sort and place are remembered, its table goes.
void забыть_таблицу(Window win);

// Whether the window shows the table (not the lines), and whether its pane is on (shown beside
// the table whenever the table is shown).
bool таблица_показана(Window win);
bool панель_включена(Window win);
// Shows the table or the lines (the selection stays on its record); the pane on or off.
void показать_таблицу(Window win, bool table);
void показать_панель(Window win, bool on);
// The list the user works in: the table or the list box, whichever is shown.
Window показанный_список(Window win);
// Places the list box, or the table and the pane beside it, in `area` of the window.
void разместить_списки(Window win, Rect area);

// The list box's lines or their filter changed: the table shows the lines shown, in its order,
// with the list box's selection.
void обновить_таблицу(Window win);
// The list box's selection into the table (quietly), and the pane shows its book.
void выбор_в_таблицу(Window win);
// The user chose a row of the table: the list box selects its line (quietly). Whether a row is
// selected.
bool выбор_из_таблицы(Window win);
// A click on the header of `column`: the rows sorted by it, ascending, or reversed when it was
// the sort's column already.
void сортировать_таблицу(Window win, int column);
// A change of the catalogue: every table's records follow it (a subscriber of the change path,
// through the list window's).
void учесть_изменения_таблиц(const Изменения& changes);
// Books were issued or returned, or readers changed (here or at another desk): every table shows
// who has each book now, in place (sorted again when sorted by that column), and its pane too.
void учесть_выдачи_таблиц();

// The captions of the table view's columns the user shows, in the table's order: those of the
// list window's table (shown or not), or, for a window without one, the ones remembered (every
// field's column the first time).
std::vector<std::string> выбранные_колонки(Window win);

// The pane's text of a book: each field with a value under its caption, then who has it out
// ("На руках: …") when it is lent.
std::string текст_панели(const ЗаписьБазы& record);
// The lines of the table's rows, in its order; none when the window shows the lines.
std::optional<std::vector<std::string>> строки_таблицы(Window win);
