// The task window: its handler and commands, the project toolbar and help line it carries, the
// About box, and the two small operations the literature list window uses to switch its tools
// and menu items.
#pragma once

#include "layer/layer.h"

// Command ids of the task menu (resource 10031), its accelerators and the project toolbar.
enum TaskCommand : int {
  cmd_Выход = 10033, cmd_ВводДанных = 10035, cmd_УдалРедактВывод = 10036,
  cmd_КатегВвести = 10038, cmd_КатегРедактировать = 10039, cmd_КатегУдалить = 10040,
  cmd_КатегПросмотр = 10041, cmd_Настройки = 10042, cmd_Содержание = 10044, cmd_Местная = 10045,
  cmd_ОПрограмме = 10046
};
// The text field of the help line.
inline constexpr int id_строкиподсказки = 10085;

// The task window's handler: creation, the command table and size changes; 0 for what it
// handles, failure for the rest (a command that does not complete fails and changes nothing).
std::optional<long> task_win_eh(Window win, const Event& ev);

// The project toolbar (top) and the help line (bottom) on `parent`.
void tb_project_toolbar_Create(Window parent);
void tb_help_line_Create(Window parent);

// The About box (dialog 10022), modal.
void dlg_about_dialog_Create(Window parent);
std::optional<long> dlg_about_dialog_eh(Window win, const Event& ev);

// The buttons 10074-10076 of the list window's toolbar owned by `owner`, enabled or not.
void устрежвидимостиинстр(Window owner, bool enabled);
// The items 10028-10030 of the list window's menu, enabled or greyed, then the frame's menu bar
// redrawn.
void устрежвидимостименю(Window win, bool enabled);
