// The task window: creation (toolbars, the data files, the working facts, the card font and the
// message window), the command table, the card font setting, help and the About box.
#include "app/task_window.h"

#include <functional>

#include "app/catalogue_changes.h"
#include "app/catalogue_commands.h"
#include "app/catalogue_export.h"
#include "app/catalogue_import.h"
#include "app/catalogue_print.h"
#include "app/catalogue_switch.h"
#include "app/categories.h"
#include "app/clipboard_commands.h"
#include "app/data_entry.h"
#include "app/list_filter.h"
#include "app/list_window.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "app/undo_commands.h"
#include "app/window_help.h"
#include "core/catalogue_facts.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"
#include "runtime/codepage.h"

namespace {

// Runs one creation step under its own guard: an error is reported as an error of the handler
// would be, and the creation goes on with the next step.
void шаг(const std::function<void()>& step) { uix_RunTrapped(step); }

// How often the watch asks whether another desk stored the catalogue: a desk shows what another
// stored within this and the time to read it again.
constexpr std::int32_t kПериодСлежения = 1000;

// The windows hear every change of the catalogue (this desk's and what other desks stored): the
// list windows show it, the data-entry dialog's lists follow, the Undo and Redo buttons say what
// they would do.
void показать_изменение(const Изменения& изменения) {
  показать_изменения(изменения);
  показать_изменения_в_диалоге(изменения);
  if (изменения.история) показать_историю();
}

// While a change waits for another desk that holds the catalogue, the windows are painted and the
// timers run (input waits); the cursor says that the program is busy.
void пока_ждём_хранилище() {
  cursor_SetWait();
  uix_ProcessEvents(0);
}

void создать_окно_задачи(Window win) {
  подписаться_на_изменения(показать_изменение);
  задать_ожидание_хранилища(ожидание_хранилища_обычное, пока_ждём_хранилище);
  шаг([win] { tb_project_toolbar_Create(win); });
  шаг([win] { tb_help_line_Create(win); });
  // Each start file under its own guard: a file that fails is reported and the start goes on.
  загрузить_рабочий_каталог(win);
  шаг([win] {
    шрифткарточки.retract_all();
    шрифткарточки.assertz(шрифт_в_блок(win_GetFont(win)));
  });
  шаг([] { msg_Create(100); });
  шаг([win] { сеанс().таймер_слежения = timer_Set(win, kПериодСлежения); });
}

// "Настройки": the card font chosen in the font dialog and saved.
bool выбрать_шрифт_карточки() {
  const auto блок = шрифткарточки.get();
  if (!блок) return false;
  const auto шрифт = шрифт_из_блока(*блок);
  if (!шрифт) return false;
  const auto выбранный = dlg_ChooseFont(*шрифт);
  if (!выбранный) return false;
  // A file that cannot be written is told; the font is chosen all the same.
  return изменить(ЗадатьШрифтКарточки{шрифт_в_блок(*выбранный)});
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
  if (const auto* t = std::get_if<e_timer>(&ev); t && t->id == сеанс().таймер_слежения) {
    следить_за_каталогом();
    return 0;
  }
  if (std::holds_alternative<e_size>(ev)) {
    toolbar_resize(win);
    msg_Resize(win);
    return 0;
  }
  // The task window hears of its end before its list windows do: nothing is built on it after.
  if (std::holds_alternative<e_destroy>(ev)) {
    забыть_окна_просмотра();
    сеанс().таймер_слежения = 0;  // the window's timers go with it
  }
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
