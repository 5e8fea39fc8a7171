// Menu resources of the program: declarative tables keyed by resource id. Texts are code page
// 1251; a "\t" in an item text separates the shortcut text shown at the item's right.
// The tables hold no toolkit types: the windowing layer turns them into its menus.
#pragma once

#include <span>
#include <string_view>

namespace res {

enum class MenuItemKind { command, popup, separator };

struct MenuItemDef {
  MenuItemKind kind = MenuItemKind::command;
  int id = 0;                          // command id of a command item (0 for the others)
  std::string_view text;               // cp1251
  std::span<const MenuItemDef> items;  // the items of a pop-up
  bool right_aligned = false;          // this item and all later ones stand at the bar's right
  bool grayed = false;                 // shown grey and disabled at first
  bool checked = false;
};

struct MenuDef {
  int id = 0;
  std::span<const MenuItemDef> items;  // the items of the menu bar
};

// The menu resource `id`, or nullptr when the program has none of that id.
const MenuDef* find_menu(int id);

}  // namespace res
