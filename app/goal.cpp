// The program's goal: its state registered with the runtime, its resources handed to the layer,
// its command table to the windows, the handlers of the text focus and of help requests, the
// catalogue folder chosen (and made on a first start), MDI mode with 3D controls, then the task
// window and its message loop. The tests of the program start it through this same goal.
#include "app/catalogue_switch.h"
#include "app/command_table.h"
#include "app/commands.h"
#include "app/first_start.h"
#include "app/session.h"
#include "app/task_window.h"
#include "app/window_help.h"
#include "core/catalogue_files.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "resources/program_resources.h"
#include "runtime/codepage.h"
#include "runtime/run.h"

void KERNOG_Goal() {
  зарегистрировать_состояние_программы();
  uix_SetResources(res::program_resources());
  задать_команды(команды_программы());
  // The toolbar's Cut, Copy and Paste follow the focused text field; F1 in a standard dialog
  // opens the help of the window or dialog it belongs to.
  uix_SetTextFocusHandler(обновить_доступность);
  uix_SetHelpRequestHandler(справка_по_окну);
  // The catalogue's files tell of a start file kept aside in a note of the program.
  задать_сообщение_о_файлах(сообщить_о_файле);
  if (!подготовить_папку_каталога()) return;  // the user cancelled the first start
  uix_SetAttrVal(xQbx_bMDI, 1);
  uix_SetAttrVal(xQbx_b3D, 1);
  uix_Init({wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize, wsf_ClipSiblings},
           task_win_eh, res_menu{меню_задачи}, std::string("фолиарх"_cp), std::string("Фолиарх"_cp));
}
