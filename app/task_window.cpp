// The task window: creation (toolbars, the data files, the working facts, the card font and the
// message window), its commands through the command table, and the About box.
#include "app/task_window.h"

#include <functional>

#include "app/catalogue_changes.h"
#include "app/catalogue_switch.h"
#include "app/commands.h"
#include "app/data_entry.h"
#include "app/lending_commands.h"
#include "app/lending_windows.h"
#include "app/list_window.h"
#include "app/server_catalogue.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
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
// list windows show it, the data-entry dialog's lists follow, and every menu item and button shows
// whether it can act now (the Undo and Redo buttons say what they would do).
void показать_изменение(const Изменения& изменения) {
  показать_изменения(изменения);
  показать_изменения_в_диалоге(изменения);
  показать_изменения_выдачи(изменения);
  обновить_доступность();
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
  // Each start file under its own guard: a file that fails is reported and the start goes on. A
  // start on a server catalogue connects to it and loads from it instead.
  if (сеанс().запуск && !сеанс().запуск->сервер.empty())
    открыть_сервер_запуска(win);
  else {
    загрузить_рабочий_каталог(win);
    // The title names the catalogue from the start ("Фолиарх — Мой каталог"), as after opening one.
    win_SetText(win, заголовок_каталога(рабочая_папка()));
  }
  шаг([win] { сообщить_о_должниках(win); });
  шаг([win] {
    шрифткарточки.retract_all();
    шрифткарточки.assertz(шрифт_в_блок(win_GetFont(win)));
  });
  шаг([] { msg_Create(100); });
  шаг([win] { сеанс().таймер_слежения = timer_Set(win, kПериодСлежения); });
}

}  // namespace

std::optional<long> task_win_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    создать_окно_задачи(win);
    return 0;
  }
  // A command that does not complete (or that the table does not know) fails and changes nothing.
  if (const auto* m = std::get_if<e_menu>(&ev)) {
    const auto готово = выполнить_команду(ОкноКоманды::задача, win, m->tag);
    return готово && *готово ? std::optional<long>(0) : std::nullopt;
  }
  if (const auto* t = std::get_if<e_timer>(&ev); t && t->id == сеанс().таймер_слежения) {
    следить_за_каталогом();
    следить_за_связью();
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
