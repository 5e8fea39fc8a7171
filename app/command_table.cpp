// The program's command table: every command of the task window and of the list window, where it
// runs, what runs it, its help topic, when it can act, its button and its key. The windows reach
// these functions only through this table (commands.h), so this is the one file that knows both.
#include "app/command_table.h"

#include "app/catalogue_backup.h"
#include "app/catalogue_export.h"
#include "app/catalogue_import.h"
#include "app/catalogue_print.h"
#include "app/catalogue_switch.h"
#include "app/categories.h"
#include "app/clipboard_commands.h"
#include "app/data_entry.h"
#include "app/list_selection.h"
#include "app/list_table.h"
#include "app/list_window.h"
#include "app/new_catalogue.h"
#include "app/record_card.h"
#include "app/record_edit.h"
#include "app/task_window.h"
#include "app/undo_commands.h"
#include "app/window_help.h"
#include "resources/ids.h"

namespace {

using enum ОкноКоманды;

// A command that needs no window, run in any.
template <bool (*команда)()>
bool без_окна(Window) {
  return команда();
}
// A command that always completes.
template <void (*команда)()>
bool всегда(Window) {
  команда();
  return true;
}
// "Вид" / "Таблица" (true) or "Строки" (false) in a list window.
template <bool таблица>
bool показать_вид(Window list) {
  показать_таблицу(list, таблица);
  return true;
}
// The n-th (0-based) of the last catalogues of "Файл".
template <int n>
bool последний_каталог(Window task) {
  return открыть_последний_каталог(task, n);
}

// The project toolbar's buttons show one picture when greyed and when up; a list window's have a
// grey one of their own.
constexpr КнопкаКоманды кнопка_проекта(int ид, int место, int рис, int рис_нажат, std::string_view текст) {
  return {ид, ПанельКоманд::проекта, место, рис, рис_нажат, рис, текст};
}
constexpr КнопкаКоманды кнопка_списка(int ид, int место, int рис, int рис_нажат, int рис_серый,
                                      std::string_view текст) {
  return {ид, ПанельКоманд::списка, место, рис, рис_нажат, рис_серый, текст};
}

constexpr Команда kКоманды[] = {
    // ---- the task window: "Файл" ----
    {.ид = cmd_НовыйКаталог, .выполнить = создать_новый_каталог, .тема = cmd_НовыйКаталог,
     .кнопка = кнопка_проекта(cmd_КнопкаНовый, 1, рис_Новый, рис_НовыйНажат, "New;New file")},
    {.ид = cmd_ОткрытьКаталог, .выполнить = выбрать_и_открыть_каталог, .тема = cmd_ОткрытьКаталог,
     .кнопка = кнопка_проекта(cmd_КнопкаОткрыть, 2, рис_Открыть, рис_ОткрытьНажат, "Open;Open file")},
    // The last catalogues: items made while the program runs (recent_menu.h).
    {.ид = cmd_ПоследнийКаталог1, .выполнить = последний_каталог<0>, .тема = cmd_ОткрытьКаталог},
    {.ид = cmd_ПоследнийКаталог1 + 1, .выполнить = последний_каталог<1>, .тема = cmd_ОткрытьКаталог},
    {.ид = cmd_ПоследнийКаталог1 + 2, .выполнить = последний_каталог<2>, .тема = cmd_ОткрытьКаталог},
    {.ид = cmd_ПоследнийКаталог1 + 3, .выполнить = последний_каталог<3>, .тема = cmd_ОткрытьКаталог},
    {.ид = cmd_ПоследнийКаталог5, .выполнить = последний_каталог<4>, .тема = cmd_ОткрытьКаталог},
    {.ид = cmd_РезервнаяКопия, .выполнить = без_окна<сделать_резервную_копию>, .тема = cmd_РезервнаяКопия,
     .кнопка = кнопка_проекта(cmd_КнопкаСохранить, 3, рис_Сохранить, рис_СохранитьНажат, "Save;File save")},
    // From a list window its lines, from the task window the whole catalogue.
    {.ид = cmd_ПечатьКаталога, .окно = любое, .выполнить = напечатать_каталог, .тема = cmd_ПечатьКаталога},
    {.ид = cmd_КаталогВPdf, .окно = любое, .выполнить = каталог_в_pdf, .тема = cmd_КаталогВPdf},
    {.ид = cmd_Выход,
     .выполнить = [](Window task) {
       win_Destroy(task);
       return true;
     },
     .тема = cmd_Выход},
    // ---- "База" ----
    {.ид = cmd_ВводДанных, .выполнить = ввести_данные, .тема = тема_ввод_данных},
    {.ид = cmd_УдалРедактВывод,
     .выполнить = [](Window task) {
       win_просмотрсписка_Create(task);
       return true;
     },
     .тема = тема_окно_списка},
    // Also Ctrl+F, which a list window takes to its own find field.
    {.ид = cmd_НайтиКнигу, .окно = любое, .выполнить = найти_книгу, .тема = cmd_НайтиКнигу},
    {.ид = cmd_Экспорт, .выполнить = без_окна<экспортировать_каталог>, .тема = cmd_Экспорт},
    {.ид = cmd_Импорт, .выполнить = без_окна<импортировать_каталог>, .тема = cmd_Импорт},
    // ---- "Категории" and "Настройки" ----
    {.ид = cmd_КатегВвести, .выполнить = без_окна<ввести_категорию>, .тема = тема_категории},
    {.ид = cmd_КатегРедактировать, .выполнить = без_окна<редактировать_категорию>, .тема = тема_категории},
    {.ид = cmd_КатегУдалить, .выполнить = без_окна<удалить_категорию>, .тема = тема_категории},
    {.ид = cmd_КатегПросмотр, .выполнить = без_окна<просмотреть_категории>, .тема = тема_категории},
    {.ид = cmd_Настройки, .выполнить = без_окна<выбрать_шрифт_карточки>, .тема = тема_настройки},
    // ---- "&Help"; Ctrl+F1 and F1 give the ids of the first two ----
    {.ид = cmd_Содержание, .выполнить = всегда<справка_содержание>, .тема = cmd_Содержание,
     .кнопка = кнопка_проекта(cmd_Содержание, 13, рис_Справка, рис_СправкаНажата, "Help;Help")},
    {.ид = cmd_Местная, .выполнить = всегда<справка_по_окну>, .тема = тема_окна},
    {.ид = cmd_ОПрограмме,
     .выполнить = [](Window task) {
       dlg_about_dialog_Create(task);
       return true;
     },
     .тема = cmd_ОПрограмме},
    // ---- the project toolbar's Undo, Redo, Cut, Copy and Paste, and their keys ----
    {.выполнить = без_окна<отменить_изменение>, .тема = cmd_КнопкаОтменить, .доступна = есть_что_отменить,
     .кнопка = кнопка_проекта(cmd_КнопкаОтменить, 5, рис_Отменить, рис_ОтменитьНажат, "Undo;Undo"),
     .клавиша = {cmd_КлавишаОтменить, true}, .подсказка = подсказка_отмены},
    {.выполнить = без_окна<повторить_изменение>, .тема = cmd_КнопкаПовторить, .доступна = есть_что_повторить,
     .кнопка = кнопка_проекта(cmd_КнопкаПовторить, 6, рис_Повторить, рис_ПовторитьНажат, "Redo;Redo"),
     .клавиша = {cmd_КлавишаПовторить, true}, .подсказка = подсказка_повтора},
    {.выполнить = без_окна<вырезать>, .тема = cmd_КнопкаВырезать, .доступна = можно_вырезать,
     .кнопка = кнопка_проекта(cmd_КнопкаВырезать, 8, рис_Вырезать, рис_ВырезатьНажат, "Cut;Cut to clipboard")},
    {.выполнить = без_окна<копировать>, .тема = cmd_КнопкаКопировать, .доступна = можно_копировать,
     .кнопка = кнопка_проекта(cmd_КнопкаКопировать, 9, рис_Копировать, рис_КопироватьНажат, "Copy;Copy to clipboard"),
     .клавиша = {cmd_КлавишаКопировать, false}},
    {.выполнить = без_окна<вставить>, .тема = cmd_КнопкаВставить, .доступна = можно_вставить,
     .кнопка = кнопка_проекта(cmd_КнопкаВставить, 10, рис_Вставить, рис_ВставитьНажат, "Paste;Paste from clipboard")},
    // ---- a list window: its menu and its toolbar ----
    {.ид = cmd_МенюУдалить, .окно = список, .выполнить = удалитьзаписьбазылит, .тема = cmd_МенюУдалить,
     .доступна = операции_окна,
     .кнопка = кнопка_списка(cmd_КнопкаУдалить, 1, рис_Вырезать, рис_ВырезатьНажат, рис_ВырезатьСерый, "Delete")},
    {.ид = cmd_МенюРедактировать,
     .окно = список,
     .выполнить = [](Window list) { return редактироватьзапись(list, false); },
     .тема = cmd_МенюРедактировать,
     .доступна = операции_окна},
    // The toolbar's Edit puts the window's title and tools back afterwards; the menu item does not.
    {.окно = список,
     .выполнить = [](Window list) { return редактироватьзапись(list, true); },
     .тема = cmd_КнопкаПравка,
     .доступна = операции_окна,
     .кнопка = кнопка_списка(cmd_КнопкаПравка, 2, рис_Правка, рис_ПравкаНажата, рис_ПравкаСерая, "Edit")},
    {.ид = cmd_МенюКарточка, .окно = список, .выполнить = вывестикарточку, .тема = cmd_МенюКарточка,
     .доступна = операции_окна,
     .кнопка = кнопка_списка(cmd_КнопкаКарточка, 3, рис_Карточка, рис_КарточкаНажата, рис_КарточкаСерая, "Card")},
    {.ид = cmd_МенюНайти, .окно = список, .выполнить = найти_книгу, .тема = cmd_МенюНайти},
    {.ид = cmd_ПечатьКарточки, .окно = список, .выполнить = напечатать_карточку, .тема = cmd_ПечатьКарточки},
    // "Вид": the table or the lines, the one shown checked.
    {.ид = cmd_ВидТаблица, .окно = список, .выполнить = показать_вид<true>, .тема = cmd_ВидТаблица,
     .отмечена = таблица_показана},
    {.ид = cmd_ВидСтроки, .окно = список, .выполнить = показать_вид<false>, .тема = cmd_ВидТаблица,
     .отмечена = [](Window list) { return !таблица_показана(list); }},
    // The pane of the chosen book beside the table: chosen in either view, shown with the table.
    {.ид = cmd_ВидСведения,
     .окно = список,
     .выполнить =
         [](Window list) {
           показать_панель(list, !панель_включена(list));
           return true;
         },
     .тема = cmd_ВидТаблица,
     .отмечена = панель_включена},
};

}  // namespace

std::span<const Команда> команды_программы() { return kКоманды; }
