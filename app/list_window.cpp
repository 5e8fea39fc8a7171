// The literature list window: creation, layout, filling, selection, its commands through the
// command table and the forwarding of the task window's commands.
#include "app/list_window.h"

#include <algorithm>

#include "app/commands.h"
#include "app/list_filter.h"
#include "app/list_selection.h"
#include "app/list_table.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "core/list_line.h"
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
  разместить_списки(win, Rect{0, низ_панели + высота_поля_поиска(), ширина, высота - низ_панели});
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
  создать_таблицу(win);
  if (таблица_показана(win)) win_SetState(список, {st_Invisible});
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
  // Where the user left it; the first time tall enough for the toolbar, the find field, fifteen
  // lines and the help line.
  const Rect место = место_окна_списка().value_or(Rect{100, 20, 924, 470});
  return win_Create(wk_TopLevel, место, "ПросмотрСписка"_cps, res_menu{меню_просмотра}, parent,
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
    забыть_таблицу(win);
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
    if (c->id == ид_таблицы) {
      if (const auto* h = std::get_if<headerclick>(&c->info)) {
        сортировать_таблицу(win, h->column);
        return 0;
      }
      if (!std::holds_alternative<selchanged>(c->info)) return std::nullopt;
      if (!выбор_из_таблицы(win)) {
        сбросить_выбор_окна(win);
        return 0;
      }
    } else if (c->id != ид_списка || !std::holds_alternative<selchanged>(c->info)) {
      return std::nullopt;
    }
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

namespace {

// The position of the line in the window's sorted list; none when it is not shown.
std::optional<int> место_строки(Window список, const std::string& строка) {
  const int всего = lbox_CountAll(список);
  int от = 0, до = всего;
  while (от < до) {
    const int середина = от + (до - от) / 2;
    if (lbox_Compare(lbox_GetItem(список, середина), строка) < 0)
      от = середина + 1;
    else
      до = середина;
  }
  for (int i = от; i < всего; ++i) {
    const std::string есть = lbox_GetItem(список, i);
    if (есть == строка) return i;
    if (lbox_Compare(есть, строка) != 0) break;
  }
  return std::nullopt;
}

// The line the selection is to stay on once a change is shown: the selected line itself, or, when
// its record went, the line of the record that came in under the same code (the record changed);
// none when the record is gone.
std::optional<std::string> куда_выбор(const std::string& выбранная, const std::vector<std::string>& ушли,
                                     const std::vector<СтрокаПоиска>& пришли) {
  if (std::find(ушли.begin(), ушли.end(), выбранная) == ушли.end()) return выбранная;
  const auto код = код_строки(выбранная);
  for (const СтрокаПоиска& с : пришли)
    if (код && код_строки(с.строка) == код) return с.строка;
  return std::nullopt;
}

}  // namespace

void показать_изменения(const Изменения& changes) {
  // Each line costs a move of the window's list; beyond this many the list is filled again.
  constexpr std::size_t kСтрокНаМесте = 64;
  учесть_изменения_таблиц(changes);
  if (changes.выдачи || changes.читатели) учесть_выдачи_таблиц();
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
    // The selection stays on its record: the toolkit's list would move it to a neighbour the user
    // never chose when the selected line goes, and loses it when the list is filled again.
    const std::optional<int> выбор = lbox_GetSelIndex(список);
    const std::optional<std::string> выбранная = выбор ? std::optional(lbox_GetItem(список, *выбор)) : std::nullopt;
    if (ушли.size() + пришли.size() > kСтрокНаМесте) {
      lbox_Clear(список);
      заполнитьсписок(список);
    } else {
      for (const std::string& строка : ушли) заменить_строку_списка(список, строка, std::nullopt);
      for (const СтрокаПоиска& строка : пришли) заменить_строку_списка(список, std::nullopt, строка);
    }
    if (выбранная) {
      const auto цель = куда_выбор(*выбранная, ушли, пришли);
      const auto место = цель ? место_строки(список, *цель) : std::nullopt;
      if (место)
        lbox_SetSel(список, *место, 1);
      else if (const auto i = lbox_GetSelIndex(список))
        lbox_SetSel(список, *i, 0);
    }
    if (!lbox_GetSelIndex(список))
      сбросить_выбор_окна(окно);
    else
      выбор_в_таблицу(окно);
  }
}
