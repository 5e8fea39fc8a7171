// The selection and the tools of the literature list windows open now: which windows are list
// windows and which has the focus, the selection check and the selection fact the commands on a
// selected line start from, and the window's three operations (Delete, Edit, Card) as toolbar
// buttons and menu items, enabled or not. The commands (card, deletion and editing, printing,
// the clipboard) use it without the list window itself.
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

// The buttons Delete, Edit and Card of the list window's toolbar owned by `owner`, enabled or not.
void устрежвидимостиинстр(Window owner, bool enabled);
// The items Delete, Edit and Card of the list window's menu, enabled or greyed, then the frame's
// menu bar redrawn.
void устрежвидимостименю(Window win, bool enabled);
// The window's three operations, its toolbar buttons and menu items together, enabled or
// disabled: the one place that switches them.
void установить_доступность_операций(Window win, bool enabled);
// Title and tools back to those of a window without a selection.
void сбросить_выбор_окна(Window win);
