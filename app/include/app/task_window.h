// The task window: its handler and commands, and the About box. The toolbars it carries are
// toolbars.h; the two small operations that switch the list window's tools and menu items are
// list_selection.h.
#pragma once

#include "layer/layer.h"
#include "resources/ids.h"

// The task window's handler: creation, the command table and size changes; 0 for what it
// handles, failure for the rest (a command that does not complete fails and changes nothing).
std::optional<long> task_win_eh(Window win, const Event& ev);

// The About box (диалог_about), modal.
void dlg_about_dialog_Create(Window parent);
std::optional<long> dlg_about_dialog_eh(Window win, const Event& ev);
