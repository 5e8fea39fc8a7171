// The menu tables of the program: the task menu 10031 and the literature list window's menu 10027.
#include "resources/menus.h"

#include "runtime/codepage.h"

namespace res {
namespace {

constexpr MenuItemDef cmd(int id, std::string_view text, bool grayed = false) {
  return MenuItemDef{MenuItemKind::command, id, text, {}, false, grayed, false};
}
constexpr MenuItemDef popup(std::string_view text, std::span<const MenuItemDef> items,
                            bool right_aligned = false) {
  return MenuItemDef{MenuItemKind::popup, 0, text, items, right_aligned, false, false};
}
constexpr MenuItemDef separator() {
  return MenuItemDef{MenuItemKind::separator, 0, {}, {}, false, false, false};
}

constexpr MenuItemDef kFile[] = {
    cmd(10033, "Выход"_cp),
};
constexpr MenuItemDef kBase[] = {
    cmd(10035, "Ввод Данных"_cp),
    cmd(10036, "Удал/Редакт/Вывод"_cp),
};
constexpr MenuItemDef kCategories[] = {
    cmd(10038, "Ввести"_cp),
    cmd(10039, "Редактировать"_cp),
    cmd(10040, "Удалить"_cp),
    cmd(10041, "Просмотр"_cp),
};
constexpr MenuItemDef kHelp[] = {
    cmd(10044, "&Contents\tCtrl-F1"),
    cmd(10045, "&Local\tF1"),
    separator(),
    cmd(10046, "&About"),
};

constexpr MenuItemDef kTaskMenu[] = {
    popup("Файл"_cp, kFile),
    popup("База"_cp, kBase),
    popup("Категории"_cp, kCategories),
    cmd(10042, "Настройки"_cp),
    popup("&Help", kHelp, true),
};

constexpr MenuItemDef kListWindowMenu[] = {
    cmd(10028, "Удалить"_cp, true),
    cmd(10029, "Редактировать базу"_cp, true),
    cmd(10030, "Вывести карточку"_cp, true),
};

constexpr MenuDef kMenus[] = {
    {10031, kTaskMenu},
    {10027, kListWindowMenu},
};

}  // namespace

const MenuDef* find_menu(int id) {
  for (const MenuDef& m : kMenus)
    if (m.id == id) return &m;
  return nullptr;
}

}  // namespace res
