// The catalogue program's resource tables, one function per kind (menus.cpp, dialogs.cpp,
// accelerators.cpp); program_resources.cpp hands them to the windowing layer.
#pragma once

#include <span>

#include "layer/resource_tables.h"

namespace res {

std::span<const ResMenu> menus();
std::span<const ResDialog> dialogs();
std::span<const ResAccelTable> accelerator_tables();

}  // namespace res
