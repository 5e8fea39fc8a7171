// The catalogue program's resources as one registration for the windowing layer: its menu,
// dialog and accelerator tables, the task window's accelerators and icon, and the program's name.
// The program hands it over with uix_SetResources before uix_Init.
#pragma once

#include "layer/resource_tables.h"

namespace res {

const ResourceTables& program_resources();

}  // namespace res
