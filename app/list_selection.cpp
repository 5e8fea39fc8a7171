// The list windows' selection and tools (see list_selection.h).
#include "app/list_selection.h"

#include <algorithm>

#include "app/commands.h"
#include "app/list_filter.h"
#include "app/list_table.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

bool окно_списка(Window win) {
  const std::vector<Window>& окна = сеанс().окна_просмотра;
  return win != 0 && win_GetType(win) == wk_TopLevel && std::find(окна.begin(), окна.end(), win) != окна.end();
}

Window окно_просмотра_с_фокусом() {
  const std::vector<Window>& окна = сеанс().окна_просмотра;
  Window w = win_GetFocus();
  for (int глубина = 0; w != 0 && глубина < 64; ++глубина, w = win_GetParent(w)) {
    const int вид = win_GetType(w);
    if (вид == wk_NotAWindow || вид == wk_Task || вид == wk_Screen) return 0;
    if (std::find(окна.begin(), окна.end(), w) != окна.end()) return w;
  }
  return 0;
}

bool естьвыделенныестроки(const std::vector<int>& positions) {
  if (!positions.empty()) return true;
  dlg_MessageBox("Ошибка!"_cps, "Не выделена\nстрока в списке"_cps, mb_Error, mb_Ok, 0, mb_TaskModal);
  return false;
}

std::optional<ВыбранныеСтроки> запомнить_выделение(Window win) {
  ВыбранныеСтроки в;
  в.список = win_GetCtlHandle(win, ид_списка);
  lbox_GetSel(в.список, в.строки, в.позиции);
  if (!естьвыделенныестроки(в.позиции)) return std::nullopt;
  выделенныеэлементыспискапросмотра.replace(в);
  return в;
}

bool операции_окна(Window win) { return сеанс().окна_с_операциями.contains(win); }

void установить_доступность_операций(Window win, bool enabled) {
  auto& окна = сеанс().окна_с_операциями;
  if (enabled)
    окна.insert(win);
  else
    окна.erase(win);
  обновить_доступность();
}

// No line stays highlighted while the actions are greyed (a deleted line's neighbour is chosen by
// the toolkit otherwise).
void сбросить_выбор_окна(Window win) {
  const Window список = win_GetCtlHandle(win, ид_списка);
  if (список && win_GetType(список) != wk_NotAWindow)
    if (const auto выбранная = lbox_GetSelIndex(список)) lbox_SetSel(список, *выбранная, 0);
  выбор_в_таблицу(win);
  установить_заголовок_списка(win, "Выделите строку для операции"_cp);
  установить_доступность_операций(win, false);
}
