// The literature list window: creation, layout, filling, selection, its commands through the
// command table and the forwarding of the task window's commands.
#include "app/list_window.h"

#include <algorithm>

#include "app/commands.h"
#include "app/list_filter.h"
#include "app/list_selection.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "core/list_search.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

constexpr Color kСерый = 0x808080;

// The find field stands between the toolbar and the list, which ends where it would without it.
void разместить(Window win, int ширина, int высота) {
  const auto панель = toolbar_GetRect(win, tb_top{});
  const std::int32_t низ_панели = панель ? панель->bottom : 0;
  разместить_поле_поиска(win, низ_панели, ширина);
  win_Move(win_GetCtlHandle(win, ид_списка),
           Rect{0, низ_панели + высота_поля_поиска(), ширина, высота - низ_панели});
  toolbar_resize(win);
}

void создать(Window win) {
  const Window список = win_CreateControl(
      wk_ListBox, Rect{2, 6, 820, 158}, std::string(), win,
      {csf_Sort, wsf_VScroll, csf_NoBorder, csf_NoIntegralHeight, csf_TabStop, csf_Group}, ид_списка);
  // A window counts from the moment it takes the toolbars away, so a creation that stops
  // half-way still gives them back when its window closes, and only a counted window can
  // uncount itself.
  сеанс().окна_просмотра.push_back(win);
  создать_поле_поиска(win);
  toolbar_remove(win_GetParent(win));
  msg_Resize(win_GetParent(win));  // the message window takes the room the toolbars gave back
  win_SetFont(список, font_Create(ff_Fixed, {}, 10));
  установить_заголовок_списка(win, "Выделите строку для операции"_cp);
  заполнитьсписок(список);
  tb_инспросмотра_Create(win);
  tb_help_line_Create(win);
}

// The task window gets back its project toolbar and its help line when the last list window
// closes, each once: a toolbar that is there already is not made again. Nothing is made when
// the task window is going itself (it forgot its list windows then).
void вернуть_панели_задачи(Window win, Window task) {
  забыть_поиск(win);
  сеанс().окна_с_операциями.erase(win);
  auto& окна = сеанс().окна_просмотра;
  if (std::erase(окна, win) == 0 || !окна.empty() || win_GetType(task) != wk_Task) return;
  if (!toolbar_GetRect(task, tb_top{})) tb_project_toolbar_Create(task);
  if (!toolbar_GetRect(task, tb_bottom{})) tb_help_line_Create(task);
  msg_Resize(task);
}

}  // namespace

Window win_просмотрсписка_Create(Window parent) {
  return win_Create(wk_TopLevel, Rect{100, 80, 924, 240}, "ПросмотрСписка"_cps, res_menu{меню_просмотра}, parent,
                    {wsf_SizeBorder, wsf_TitleBar, wsf_Maximize, wsf_Minimize, wsf_Close, wsf_ClipSiblings,
                     wsf_ClipChildren},
                    win_просмотрсписка_eh, 0);
}

std::optional<long> win_просмотрсписка_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    создать(win);
    return 0;
  }
  if (std::holds_alternative<e_update>(ev)) {
    if (!устрежимработысбазой(режим_редактирования)) return std::nullopt;
    установить_доступность_операций(win, true);
    return 0;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    вернуть_панели_задачи(win, win_GetParent(win));
    return 0;
  }
  // The window's own commands; any other goes on to the task window, so its commands keep working.
  if (const auto* m = std::get_if<e_menu>(&ev)) {
    if (const auto готово = выполнить_команду(ОкноКоманды::список, win, m->tag))
      return *готово ? std::optional<long>(0) : std::nullopt;
    win_SendEvent(win_GetParent(win), *m);
    return 0;
  }
  if (const auto* c = std::get_if<e_control>(&ev)) {
    if (c->id == ид_поля_поиска && std::holds_alternative<modified>(c->info)) {
      применить_поиск(win, win_GetText(c->window));
      return 0;
    }
    if (c->id != ид_списка || !std::holds_alternative<selchanged>(c->info)) return std::nullopt;
    установить_заголовок_списка(win, "Выполните необходимую операцию"_cp);
    установить_доступность_операций(win, true);
    return 0;
  }
  if (const auto* s = std::get_if<e_size>(&ev)) {
    разместить(win, s->width, s->height);
    return 0;
  }
  return std::nullopt;
}

void забыть_окна_просмотра() { сеанс().окна_просмотра.clear(); }

bool найти_книгу(Window from) {
  if (окно_списка(from)) {
    перейти_к_полю_поиска(from);
    return true;
  }
  const auto& окна = сеанс().окна_просмотра;
  const Window окно = окна.empty() ? win_просмотрсписка_Create(from) : окна.back();
  if (win_GetType(окно) != wk_TopLevel) return false;
  win_BringToTop(окно);
  перейти_к_полю_поиска(окно);
  return true;
}

void tb_инспросмотра_Create(Window win) {
  toolbar_create(tb_top{}, kСерый, win, кнопки_панели(ПанельКоманд::списка, win));
  обновить_доступность();
}

void показать_изменения(const Изменения& changes) {
  // Each line costs a move of the window's list; beyond this many the list is filled again.
  constexpr std::size_t kСтрокНаМесте = 64;
  std::vector<std::string> ушли;
  std::vector<СтрокаПоиска> пришли;
  for (const ЗаписьБазы& з : changes.убранные)
    if (auto строка = строка_списка(з)) ушли.push_back(std::move(*строка));
  for (const ЗаписьБазы& з : changes.добавленные)
    if (auto строка = строка_списка(з)) пришли.push_back({std::move(*строка), форма_поиска(з)});
  if (ушли.empty() && пришли.empty()) return;
  const std::vector<Window> окна = сеанс().окна_просмотра;
  for (const Window окно : окна) {
    if (win_GetType(окно) == wk_NotAWindow || ИсточникИзменения{окно} == changes.источник) continue;
    const Window список = win_GetCtlHandle(окно, ид_списка);
    // The toolkit's list moves the selection of a deleted line to its neighbour, which the user
    // never chose: the window whose chosen line went is left without a selection.
    const std::optional<int> выбор = lbox_GetSelIndex(список);
    const bool выбранная_ушла =
        выбор && std::find(ушли.begin(), ушли.end(), lbox_GetItem(список, *выбор)) != ушли.end();
    if (ушли.size() + пришли.size() > kСтрокНаМесте) {
      lbox_Clear(список);
      заполнитьсписок(список);
    } else {
      for (const std::string& строка : ушли) заменить_строку_списка(список, строка, std::nullopt);
      for (const СтрокаПоиска& строка : пришли) заменить_строку_списка(список, std::nullopt, строка);
    }
    if (выбранная_ушла) lbox_SetSel(список, 0, 0);
    if (!lbox_GetSelIndex(список)) сбросить_выбор_окна(окно);
  }
}
