// The selection and the tools of the literature list windows open now: which windows are list
// windows and which has the focus, the selection check and the selection fact the commands on a
// selected line start from, and whether the window's three operations (Delete, Edit, Card) are
// on, which their toolbar buttons and menu items show. The commands (card, deletion and editing,
// printing, the clipboard) use it without the list window itself.
#pragma once

#include <optional>
#include <vector>

#include "app/session.h"
#include "layer/layer.h"

// Whether `win` is one of the list windows open now.
bool окно_списка(Window win);
// The list window that holds the keyboard focus (itself or one of its controls); 0 when none does.
Window окно_просмотра_с_фокусом();

// Succeeds for a non-empty position list; otherwise shows "Не выделена строка в списке" and fails.
bool естьвыделенныестроки(const std::vector<int>& positions);
// The list box's selection, stored as выделенныеэлементыспискапросмотра; nothing (after the
// message) when no line is selected.
std::optional<ВыбранныеСтроки> запомнить_выделение(Window win);

// Whether the window's three operations are on: its toolbar buttons and menu items enabled.
bool операции_окна(Window win);
// The window's three operations on or off, and every window's items and buttons shown as they
// now are (commands.h): the one place that switches them.
void установить_доступность_операций(Window win, bool enabled);
// Title and tools back to those of a window without a selection.
void сбросить_выбор_окна(Window win);
