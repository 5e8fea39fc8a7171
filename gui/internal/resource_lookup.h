// The program's registered resources as the layer's own code looks them up (gui/resource_tables.cpp
// keeps the registration). Every lookup answers nullptr, and every id 0, until the program has
// registered its tables.
#pragma once

#include <string>

#include "layer/resource_tables.h"

namespace gui_detail {

const ResMenu* find_menu_resource(int id);
const ResDialog* find_dialog_resource(int id);
const ResAccelTable* find_accel_table(int id);

// The ids and the name the registration gives to the task window and the application object.
int window_list_menu_id();
int task_accelerators_id();
int task_icon_id();
const std::string& program_name();

}  // namespace gui_detail
