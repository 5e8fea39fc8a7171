// The task window: creation (toolbars, the data files, the working facts, the card font and the
// message window), the command table, the card font setting, help and the About box.
#include "app/task_window.h"

#include <functional>

#include "app/catalogue_commands.h"
#include "app/catalogue_export.h"
#include "app/catalogue_files.h"
#include "app/catalogue_print.h"
#include "app/catalogue_import.h"
#include "app/catalogue_switch.h"
#include "app/categories.h"
#include "app/clipboard_commands.h"
#include "app/data_entry.h"
#include "app/list_filter.h"
#include "app/list_window.h"
#include "app/session.h"
#include "app/undo_history.h"
#include "app/window_help.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"
#include "runtime/codepage.h"

namespace {

constexpr Color kToolbarGrey = 0xC0C0C0;

toolbar_control кнопка(int id, int up, int down, int grey, std::string_view text) {
  return tb_ctrl{id, pushb, up, down, grey, std::string(text), true, true};
}

// Runs one creation step under its own guard: an error is reported as an error of the handler
// would be, and the creation goes on with the next step.
void шаг(const std::function<void()>& step) { uix_RunTrapped(step); }

void создать_окно_задачи(Window win) {
  шаг([win] { tb_project_toolbar_Create(win); });
  шаг([win] { tb_help_line_Create(win); });
  // Each start file under its own guard: a file that fails is reported and the start goes on.
  загрузить_рабочий_каталог(win);
  шаг([win] {
    шрифткарточки.retract_all();
    шрифткарточки.assertz(шрифт_в_блок(win_GetFont(win)));
  });
  шаг([] { msg_Create(100); });
}

// "Настройки": the card font chosen in the font dialog and saved.
bool выбрать_шрифт_карточки() {
  const auto блок = шрифткарточки.get();
  if (!блок) return false;
  const auto шрифт = шрифт_из_блока(*блок);
  if (!шрифт) return false;
  const auto выбранный = dlg_ChooseFont(*шрифт);
  if (!выбранный) return false;
  шрифткарточки.retract_all();
  шрифткарточки.assertz(шрифт_в_блок(*выбранный));
  сохранить_шрифт_карточки();  // a file that cannot be written is told; the font is chosen all the same
  return true;
}

// Carries out a command; false when it does not complete (or is not one of the task window's).
bool выполнить_команду(Window win, int id) {
  if (const auto готово = команда_каталога(win, id)) return *готово;
  switch (id) {
    case cmd_Выход:
      win_Destroy(win);
      return true;
    case cmd_ВводДанных:
      устрежимработысбазой.set(режим_ввода);
      dlg_ввод_данных_Create(win);
      return true;
    case cmd_УдалРедактВывод:
      win_просмотрсписка_Create(win);
      return true;
    case cmd_КатегВвести: return ввести_категорию();
    case cmd_КатегРедактировать: return редактировать_категорию();
    case cmd_КатегУдалить: return удалить_категорию();
    case cmd_КатегПросмотр: return просмотреть_категории();
    case cmd_Настройки: return выбрать_шрифт_карточки();
    case cmd_Содержание:
      uix_ShowHelp(std::string(файл_справки));
      return true;
    case cmd_ОПрограмме:
      dlg_about_dialog_Create(win);
      return true;
    // Printing.
    case cmd_ПечатьКаталога: return напечатать_каталог(win);
    case cmd_КаталогВPdf: return каталог_в_pdf(win);
    // Undo and redo of the catalogue's changes, the clipboard, help on the window. The keys
    // leave a focused text field its own undo and redo.
    case cmd_КнопкаОтменить: return отменить_изменение();
    case cmd_КнопкаПовторить: return повторить_изменение();
    case cmd_КлавишаОтменить: return !win_GetTextFocus().field && отменить_изменение();
    case cmd_КлавишаПовторить: return !win_GetTextFocus().field && повторить_изменение();
    case cmd_КнопкаВырезать: return вырезать();
    case cmd_КнопкаКопировать:
    case cmd_КлавишаКопировать: return копировать();
    case cmd_КнопкаВставить: return вставить();
    case cmd_Местная:
      справка_по_окну();
      return true;
    case cmd_НайтиКнигу: return найти_книгу(win);
    case cmd_Экспорт: return экспортировать_каталог();
    case cmd_Импорт: return импортировать_каталог();
    default:
      return false;  // the toolbar buttons without an action
  }
}

}  // namespace

void tb_project_toolbar_Create(Window parent) {
  toolbar_create(tb_top{}, kToolbarGrey, parent,
                 {кнопка(cmd_КнопкаНовый, рис_Новый, рис_НовыйНажат, рис_Новый, "New;New file"),
                  кнопка(cmd_КнопкаОткрыть, рис_Открыть, рис_ОткрытьНажат, рис_Открыть, "Open;Open file"),
                  кнопка(cmd_КнопкаСохранить, рис_Сохранить, рис_СохранитьНажат, рис_Сохранить, "Save;File save"),
                  separator{},
                  кнопка(cmd_КнопкаОтменить, рис_Отменить, рис_ОтменитьНажат, рис_Отменить, "Undo;Undo"),
                  кнопка(cmd_КнопкаПовторить, рис_Повторить, рис_ПовторитьНажат, рис_Повторить, "Redo;Redo"),
                  separator{},
                  кнопка(cmd_КнопкаВырезать, рис_Вырезать, рис_ВырезатьНажат, рис_Вырезать, "Cut;Cut to clipboard"),
                  кнопка(cmd_КнопкаКопировать, рис_Копировать, рис_КопироватьНажат, рис_Копировать,
                         "Copy;Copy to clipboard"),
                  кнопка(cmd_КнопкаВставить, рис_Вставить, рис_ВставитьНажат, рис_Вставить,
                         "Paste;Paste from clipboard"),
                  separator{},
                  separator{},
                  кнопка(cmd_Содержание, рис_Справка, рис_СправкаНажата, рис_Справка, "Help;Help")});
  // Undo, Redo, Cut, Copy and Paste greyed while they cannot act, also after the toolbar was away.
  показать_историю();
  показать_буфер_обмена();
}

void включить_кнопку_задачи(int id, bool enabled) {
  const Window задача = uix_GetTaskWin();
  if (!задача) return;
  const ctrl_value значение{enabled, true};
  const auto было = toolbar_GetValue(задача, id);
  if (было && *было != toolbar_value(значение)) toolbar_SetValue(задача, id, значение);
}

void tb_help_line_Create(Window parent) {
  toolbar_create(tb_bottom{}, kToolbarGrey, parent,
                 {tb_text{id_строкиподсказки, tb_context, 452, 0, 4, 10, 0, ""}});
}

std::optional<long> task_win_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    создать_окно_задачи(win);
    return 0;
  }
  if (const auto* m = std::get_if<e_menu>(&ev)) {
    const ТемаСправки тема(тема_команды(m->tag));
    if (выполнить_команду(win, m->tag)) return 0;
    return std::nullopt;
  }
  if (std::holds_alternative<e_size>(ev)) {
    toolbar_resize(win);
    msg_Resize(win);
    return 0;
  }
  // The task window hears of its end before its list windows do: nothing is built on it after.
  if (std::holds_alternative<e_destroy>(ev)) забыть_окна_просмотра();
  return std::nullopt;
}

void dlg_about_dialog_Create(Window parent) {
  win_CreateResDialog(parent, wk_ModalDialog, диалог_about, dlg_about_dialog_eh, 0);
}

std::optional<long> dlg_about_dialog_eh(Window win, const Event& ev) {
  if (const auto* c = std::get_if<e_control>(&ev); c && c->id == кнопка_OK) {
    win_Destroy(win);
    return 0;
  }
  return std::nullopt;
}

void устрежвидимостиинстр(Window owner, bool enabled) {
  for (int id : {cmd_КнопкаУдалить, cmd_КнопкаПравка, cmd_КнопкаКарточка})
    toolbar_SetValue(owner, id, ctrl_value{enabled, true});
}

void устрежвидимостименю(Window win, bool enabled) {
  for (int id : {cmd_МенюУдалить, cmd_МенюРедактировать, cmd_МенюКарточка}) menu_Enable(win, id, enabled);
  menu_Update(win_GetParent(win));
}
