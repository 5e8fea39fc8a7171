// The menu tables of the program: the task menu and the literature list window's menu.
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "tables.h"

namespace res {
namespace {

constexpr ResMenuItem cmd(int id, std::string_view text, bool grayed = false) {
  return ResMenuItem{ResMenuItemKind::command, id, text, {}, false, grayed, false};
}
constexpr ResMenuItem popup(std::string_view text, std::span<const ResMenuItem> items, bool right_aligned = false) {
  return ResMenuItem{ResMenuItemKind::popup, 0, text, items, right_aligned, false, false};
}
constexpr ResMenuItem separator() { return ResMenuItem{ResMenuItemKind::separator, 0, {}, {}, false, false, false}; }

constexpr ResMenuItem kFile[] = {
    cmd(cmd_НовыйКаталог, "Новый каталог…"_cp),
    cmd(cmd_ОткрытьКаталог, "Открыть каталог…"_cp),
    cmd(cmd_ПодключитьсяКСерверу, "Подключиться к серверу…"_cp),
    separator(),
    cmd(cmd_РезервнаяКопия, "Резервная копия…"_cp),
    cmd(cmd_ПеренестиНаСервер, "Перенести каталог на сервер…"_cp),
    separator(),
    cmd(cmd_ПечатьКаталога, "Печать каталога…"_cp),
    cmd(cmd_КаталогВPdf, "Каталог в PDF…"_cp),
    separator(),
    cmd(cmd_Выход, "Выход"_cp),
};
constexpr ResMenuItem kBase[] = {
    cmd(cmd_ВводДанных, "Ввод Данных"_cp),
    cmd(cmd_УдалРедактВывод, "Удал/Редакт/Вывод"_cp),
    cmd(cmd_НайтиКнигу, "Найти книгу…\tCtrl+F"_cp),
    separator(),
    cmd(cmd_Экспорт, "Экспорт…"_cp),
    cmd(cmd_Импорт, "Импорт…"_cp),
    separator(),
    cmd(cmd_Статистика, "Статистика…"_cp),
};
constexpr ResMenuItem kCategories[] = {
    cmd(cmd_КатегВвести, "Ввести"_cp),
    cmd(cmd_КатегРедактировать, "Редактировать"_cp),
    cmd(cmd_КатегУдалить, "Удалить"_cp),
    cmd(cmd_КатегПросмотр, "Просмотр"_cp),
};
constexpr ResMenuItem kLending[] = {
    cmd(cmd_ВыдатьКнигу, "Выдать книгу…\tCtrl+L"_cp),
    cmd(cmd_ПринятьКнигу, "Принять книгу…\tCtrl+R"_cp),
    separator(),
    cmd(cmd_Читатели, "Читатели…"_cp),
    cmd(cmd_Должники, "Должники"_cp),
    cmd(cmd_ИсторияВыдач, "История выдач…"_cp),
    separator(),
    cmd(cmd_СрокВыдачи, "Срок выдачи…"_cp),
};
constexpr ResMenuItem kHelp[] = {
    cmd(cmd_Содержание, "&Contents\tCtrl-F1"),
    cmd(cmd_Местная, "&Local\tF1"),
    separator(),
    cmd(cmd_ОПрограмме, "&About"),
};

constexpr ResMenuItem kTaskMenu[] = {
    popup("Файл"_cp, kFile),
    popup("База"_cp, kBase),
    popup("Категории"_cp, kCategories),
    popup("Выдача"_cp, kLending),
    cmd(cmd_Настройки, "Настройки"_cp),
    popup("&Help", kHelp, true),
};

constexpr ResMenuItem kListView[] = {
    cmd(cmd_ВидТаблица, "Таблица"_cp),
    cmd(cmd_ВидСтроки, "Строки"_cp),
    separator(),
    cmd(cmd_ВидСведения, "Сведения о книге"_cp),
};

constexpr ResMenuItem kListWindowMenu[] = {
    cmd(cmd_МенюУдалить, "Удалить"_cp, true),
    cmd(cmd_МенюРедактировать, "Редактировать базу"_cp, true),
    cmd(cmd_МенюКарточка, "Вывести карточку"_cp, true),
    cmd(cmd_МенюНайти, "Найти…\tCtrl+F"_cp),
    cmd(cmd_ПечатьКарточки, "Печать карточки…"_cp),
    cmd(cmd_МенюВыдать, "Выдать…"_cp),
    cmd(cmd_МенюПринять, "Принять"_cp),
    cmd(cmd_ПечатьКаталога, "Печать списка…"_cp),
    cmd(cmd_КаталогВPdf, "Список в PDF…"_cp),
    popup("Вид"_cp, kListView),
};

constexpr ResMenu kMenus[] = {
    {меню_задачи, kTaskMenu},
    {меню_просмотра, kListWindowMenu},
};

}  // namespace

std::span<const ResMenu> menus() { return kMenus; }

}  // namespace res
