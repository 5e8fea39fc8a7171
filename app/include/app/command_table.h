// The program's commands, each once: the table the goal hands to commands.h. An entry gives the
// command's menu item id (resources/menus.cpp has the item, resources/ids.h the id), the window it
// runs in, the function that runs it, its help topic (resources/help/), the rule that says when it
// can act, its toolbar button and a key with an id of its own (resources/accelerators.cpp).
#pragma once

#include <span>

#include "app/commands.h"

std::span<const Команда> команды_программы();
