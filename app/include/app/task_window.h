// The task window: its handler and commands, the project toolbar and help line it carries, the
// About box, and the two small operations the literature list window uses to switch its tools
// and menu items.
#pragma once

#include "layer/layer.h"
#include "resources/ids.h"

// The task window's handler: creation, the command table and size changes; 0 for what it
// handles, failure for the rest (a command that does not complete fails and changes nothing).
std::optional<long> task_win_eh(Window win, const Event& ev);

// The project toolbar (top) and the help line (bottom) on `parent`.
void tb_project_toolbar_Create(Window parent);
void tb_help_line_Create(Window parent);

// A button of the task window's project toolbar enabled or greyed, and redrawn only when that
// changes; nothing while the toolbar is away.
void включить_кнопку_задачи(int id, bool enabled);

// The About box (диалог_about), modal.
void dlg_about_dialog_Create(Window parent);
std::optional<long> dlg_about_dialog_eh(Window win, const Event& ev);

// The buttons Delete, Edit and Card of the list window's toolbar owned by `owner`, enabled or not.
void устрежвидимостиинстр(Window owner, bool enabled);
// The items Delete, Edit and Card of the list window's menu, enabled or greyed, then the frame's menu bar
// redrawn.
void устрежвидимостименю(Window win, bool enabled);
