// Loading the working catalogue step by step, and switching to the catalogue of another folder.
#include "app/catalogue_switch.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/commands.h"
#include "app/cover_window.h"
#include "app/first_start.h"
#include "app/recent_catalogues.h"
#include "app/recent_menu.h"
#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "core/lending.h"
#include "core/record_codes.h"
#include "runtime/codepage.h"
#include "runtime/err_notice.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"

namespace fs = std::filesystem;

namespace {

const std::string kЗаголовокОткрытия = std::string("Открыть каталог"_cp);

// Closes the windows that show the catalogue: the dialogs, the list windows and every cover
// window. The message window stays.
void закрыть_окна_каталога(Window task) {
  auto жив = [](Window w) { return win_GetType(w) != wk_NotAWindow; };
  for (Window d : win_GetListDialogs())
    if (жив(d)) win_Destroy(d);
  const std::vector<Window> списки = сеанс().окна_просмотра;
  for (Window w : списки)
    if (жив(w)) win_Destroy(w);
  for (Window w : win_GetChildWindows(task))
    if (жив(w) && win_GetHandler(w) == win_обложка_eh) win_Destroy(w);
}

// The core and the session as a start finds them before the start files load (the steps of the
// catalogue left behind cannot be undone in this one); the card font (the user's choice for the
// run) and the windows stay.
void начать_заново() {
  начать_каталог_заново();
  сбросить_рабочие_факты();
  обновить_доступность();
}

}  // namespace

void загрузить_рабочий_каталог(Window task) {
  for (const РазделКаталога& раздел : разделы_каталога())
    if (раздел.при_открытии) uix_RunTrapped([&раздел] { загрузить_с_сообщением(раздел); });
  uix_RunTrapped([] { получитьсписоккодов(); });
  // Loans with problems are kept as they are; the user is told which lines.
  uix_RunTrapped([] {
    if (const auto о_выдачах = сообщение_о_выдачах()) сообщить_о_каталоге(*о_выдачах);
  });
  uix_RunTrapped([task] {
    выделенныеэлементыспискапросмотра.replace({task, {}, {}});
    id_окнаобложки.retract_all();
    id_окнаобложки.assertz({task, false});
  });
  uix_RunTrapped([task] {
    if (каталог_в_папке() && состояние_файла(секция_базы).holds_memory) запомнить_каталог(рабочая_папка());
    обновить_меню_каталогов(task);
  });
}

bool открыть_каталог(Window task, const std::string& folder) {
  if (const auto отказ = войти_в_папку_каталога(folder)) {
    dlg_Error(kЗаголовокОткрытия, *отказ);
    return false;
  }
  сменить_каталог(task, [] { задать_хранилище_каталога(nullptr); });
  win_SetText(task, заголовок_каталога(рабочая_папка()));
  return true;
}

void сменить_каталог(Window task, const std::function<void()>& перейти) {
  закрыть_окна_каталога(task);
  начать_заново();
  перейти();
  загрузить_рабочий_каталог(task);
}

bool выбрать_и_открыть_каталог(Window task) {
  const auto выбор = dlg_GetFolderName("Открыть каталог: выберите папку с каталогом"_cps, показ_папки(рабочая_папка()));
  return выбор && открыть_каталог(task, RUN_HostPath(*выбор));
}

bool открыть_последний_каталог(Window task, int n) {
  const std::vector<std::string> последние = последние_каталоги();
  if (n < 0 || static_cast<std::size_t>(n) >= последние.size()) return false;
  return открыть_каталог(task, последние[static_cast<std::size_t>(n)]);
}

void сообщить_о_файле(const std::string& text) {
  if (IO_LayerRunning())
    dlg_MessageBox("Каталог"_cps, text, mb_Information, mb_Ok, 0, mb_TaskModal);
  else
    ERR_ReportNotice(text);
}

std::string заголовок_каталога(const std::string& folder) { return "Фолиарх — "_cps + имя_каталога(folder); }
