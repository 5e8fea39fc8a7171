// The task window: its handler and the About box. Its commands are the command table's
// (command_table.h, run through commands.h); the toolbars it carries are toolbars.h.
#pragma once

#include "layer/layer.h"
#include "resources/ids.h"

// The task window's handler: creation, its commands (commands.h) and size changes; 0 for what it
// handles, failure for the rest (a command that does not complete fails and changes nothing).
std::optional<long> task_win_eh(Window win, const Event& ev);

// The About box (диалог_about), modal.
void dlg_about_dialog_Create(Window parent);
std::optional<long> dlg_about_dialog_eh(Window win, const Event& ev);
