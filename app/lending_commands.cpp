// The commands of "Выдача": issue and return through their dialogs, the readers and the overdue
// loans in their windows (lending_dialogs.h, lending_windows.h), a book's history of loans, the
// loan period, the statistics, the help line's word on overdue loans at the start.
#include "app/lending_commands.h"

#include <algorithm>

#include "app/catalogue_changes.h"
#include "app/lending_dialogs.h"
#include "app/lending_windows.h"
#include "app/list_selection.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_statistics.h"
#include "core/catalogue_work.h"
#include "core/lending.h"
#include "core/list_line.h"
#include "layer/chart.h"
#include "layer/layer.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

std::string без_пробелов_по_краям(std::string_view t) {
  const std::size_t a = t.find_first_not_of(" \t");
  if (a == std::string_view::npos) return std::string();
  return std::string(t.substr(a, t.find_last_not_of(" \t") - a + 1));
}

bool число(std::string_view t) {
  return !t.empty() && t.size() < 10 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The book of a list window's one selected line.
std::optional<ЗаписьБазы> книга_окна(Window окно) {
  if (!окно_списка(окно)) return std::nullopt;
  const auto выбор = запомнить_выделение(окно);
  if (!выбор || выбор->строки.size() != 1) return std::nullopt;
  const std::vector<ЗаписьБазы> записи = записи_строк(выбор->строки);
  return записи.empty() ? std::nullopt : std::optional<ЗаписьБазы>(записи.front());
}

}  // namespace

bool выдать_книгу(Window окно) {
  const std::optional<ЗаписьБазы> книга = книга_окна(окно);
  return dlg_выдачи_Create(окно, книга ? std::optional(книга->код) : std::nullopt);
}

bool принять_книгу(Window окно) {
  const std::optional<ЗаписьБазы> книга = книга_окна(окно);
  return dlg_возврата_Create(окно, книга ? std::optional(книга->код) : std::nullopt);
}

bool показать_читателей() { return win_читатели_Create(uix_GetTaskWin()) != 0; }

bool показать_должников() { return win_должники_Create(uix_GetTaskWin()) != 0; }

bool показать_историю_выдач() { return win_история_Create(uix_GetTaskWin()) != 0; }

bool показать_статистику() {
  const СтатистикаКаталога с = статистика_каталога(сегодня());
  std::vector<ChartPanel> панели;
  const auto панель = [&панели](std::string название, const std::vector<СтолбецСтатистики>& столбцы) {
    ChartPanel п{std::move(название), {}};
    for (const СтолбецСтатистики& ст : столбцы) п.bars.push_back({ст.подпись, static_cast<double>(ст.число)});
    панели.push_back(std::move(п));
  };
  панель("Книги по категориям"_cps, с.по_категориям);
  панель("Книги по видам"_cps, с.по_видам);
  панель("Книги по десятилетиям издания"_cps, с.по_десятилетиям);
  панель("На руках и на полке"_cps, с.наличие);
  панель("Выдачи по месяцам"_cps, с.по_месяцам);
  панель("Десять книг, выданных чаще всего"_cps, с.книги_чаще);
  панель("Десять читателей, бравших больше всего"_cps, с.читатели_чаще);
  chart_Show("Статистика"_cps, панели);
  return true;
}

bool задать_срок_выдачи() {
  const std::string заголовок = "Срок выдачи"_cps;
  const auto ответ = dlg_GetStr(заголовок, "Срок выдачи, дней:"_cps, std::to_string(срок_выдачи()));
  if (!ответ) return false;
  const std::string текст = без_пробелов_по_краям(*ответ);
  if (!число(текст) || std::stoi(текст) < 1 || std::stoi(текст) > 3650) {
    dlg_Error(заголовок, "Срок выдачи — число дней от 1 до 3650."_cps);
    return false;
  }
  if (std::stoi(текст) == срок_выдачи()) return true;
  return изменить(ЗадатьСрокВыдачи{std::stoi(текст)});
}

void сообщить_о_должниках(Window task) {
  const std::size_t просрочено = число_просроченных(сегодня());
  if (просрочено == 0) return;
  toolbar_SetValue(task, id_строкиподсказки,
                   text_value{"Просрочено выдач: "_cps + std::to_string(просрочено) + " (Выдача / Должники)"_cps});
}
