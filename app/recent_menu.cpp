// The "Файл" menu's items of the last catalogues opened.
#include "app/recent_menu.h"

#include <vector>

#include "app/recent_catalogues.h"
#include "core/catalogue_folder.h"
#include "resources/ids.h"

void обновить_меню_каталогов(Window task) {
  for (int id = cmd_ПоследнийКаталог1; id <= cmd_ПоследнийКаталог5; ++id) menu_DeleteItem(task, id);
  const std::vector<std::string> последние = последние_каталоги();
  int после = cmd_ПодключитьсяКСерверу;  // under the commands that open a catalogue
  for (std::size_t n = 0; n < последние.size() && n < кол_последних_каталогов; ++n) {
    const int id = cmd_ПоследнийКаталог1 + static_cast<int>(n);
    menu_InsertItem(task, после, id, пункт_последнего_каталога(static_cast<int>(n), последние[n]));
    после = id;
  }
}

std::string пункт_последнего_каталога(int n, const std::string& folder) {
  std::string текст = "&" + std::to_string(n + 1) + " ";
  for (char c : показ_папки(folder)) {
    if (c == '&') текст += '&';
    текст += c;
  }
  return текст;
}
