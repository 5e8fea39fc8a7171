// Loading the working catalogue step by step, and switching to the catalogue of another folder.
#include "app/catalogue_switch.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/catalogue_files.h"
#include "app/catalogue_folder.h"
#include "app/cover_window.h"
#include "app/data_entry.h"
#include "app/recent_catalogues.h"
#include "app/recent_menu.h"
#include "app/session.h"
#include "app/undo_history.h"
#include "catalogue/catalogue_facts.h"
#include "runtime/codepage.h"
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

// The model empty and the session as a start finds it before the start files load; the card
// font (the user's choice for the run) and the windows stay.
void начать_каталог_заново() {
  очистить_каталог();
  сбросить_рабочие_факты();
  сеанс().файл_видов = {};
  сеанс().файл_категорий = {};
  сеанс().файл_базы = {};
}

}  // namespace

void загрузить_рабочий_каталог(Window task) {
  uix_RunTrapped([] { загрузить_с_сообщением(загрузить_виды, файл_видов); });
  uix_RunTrapped([] { загрузить_с_сообщением(загрузить_категории, файл_категорий); });
  uix_RunTrapped([] { загрузить_с_сообщением(загрузить_основную_базу, файл_базы); });
  uix_RunTrapped([] { получитьсписоккодов(); });
  uix_RunTrapped([task] {
    выделенныеэлементыспискапросмотра.replace({task, {}, {}});
    id_окнаобложки.retract_all();
    id_окнаобложки.assertz({task, false});
  });
  uix_RunTrapped([task] {
    if (сеанс().файл_базы.holds_memory) запомнить_каталог(рабочая_папка());
    обновить_меню_каталогов(task);
  });
}

bool открыть_каталог(Window task, const std::string& folder) {
  if (const auto отказ = отказ_папки(folder, true)) {
    dlg_Error(kЗаголовокОткрытия, *отказ);
    return false;
  }
  std::error_code ec;
  fs::current_path(folder, ec);
  if (ec) {
    dlg_Error(kЗаголовокОткрытия, текст_отказа("Не удалось открыть папку «"_cps + показ_папки(folder) + "»"_cps, ec.value()));
    return false;
  }
  закрыть_окна_каталога(task);
  начать_каталог_заново();
  // The steps of the catalogue left behind cannot be undone in this one.
  забыть_историю();
  загрузить_рабочий_каталог(task);
  win_SetText(task, заголовок_каталога(рабочая_папка()));
  return true;
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

std::string заголовок_каталога(const std::string& folder) {
  std::string имя = fs::path(folder).filename().string();
  if (имя.empty()) имя = folder;
  return "Фолиарх — "_cps + RUN_FromHostPath(имя);
}
