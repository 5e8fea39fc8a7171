// Deletion and editing of the record of the selected list line.
#include "app/record_edit.h"

#include "app/catalogue_changes.h"
#include "app/data_entry.h"
#include "app/list_filter.h"
#include "app/list_selection.h"
#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/list_line.h"
#include "core/lending.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

// The question names the book: "Удалить запись 12 «Каштанка»?"; a line without a record (gone
// meanwhile) is asked about as a line.
std::string вопрос_об_удалении() {
  const auto выбор = выделенныеэлементыспискапросмотра.get();
  const auto код = выбор && выбор->строки.size() == 1 ? код_строки(выбор->строки.front()) : std::nullopt;
  const auto записи = код ? база_лит.по_коду(*код) : std::vector<ЗаписьБазы>();
  if (записи.empty()) return "Удалить выделенную строку?"_cps;
  const std::string вопрос = "Удалить запись "_cps + std::to_string(*код) + " «"_cps + записи.front().наименование + "»?"_cps;
  // A book that is out: the reader has it still; its loans stay in the history under its code.
  const std::string на_руках = строка_на_руках(*код);
  if (на_руках.empty()) return вопрос;
  return на_руках + ".\nКнига не возвращена; история её выдач сохранится.\n"_cps + вопрос;
}

}  // namespace

bool удалитьзаписьбазылит(Window win) {
  if (!запомнить_выделение(win)) return false;
  const int ответ = dlg_Ask("Удаление строки"_cps, вопрос_об_удалении(), {"Да"_cps, "Нет"_cps});
  return обработатьответнаудаление(ответ, win);
}

bool обработатьответнаудаление(int answer, Window win) {
  if (answer != 0) return false;
  const auto выбор = выделенныеэлементыспискапросмотра.get();
  if (!выбор || выбор->позиции.size() != 1) return false;
  удалить_строку_списка(выбор->список, выбор->позиции.front());
  if (!удалитизосновнойбазыпосписку(выбор->строки, win)) {
    // A record whose file could not be written is back in the catalogue, and one another desk
    // changed meanwhile is there as it is now: its line comes back, once (what the other desk
    // stored may have brought it already).
    const auto код = код_строки(выбор->строки.front());
    const auto записи = код ? база_лит.по_коду(*код) : std::vector<ЗаписьБазы>();
    if (!записи.empty() && win_GetType(выбор->список) != wk_NotAWindow)
      if (auto строка = строка_списка(записи.front()))
        заменить_строку_списка(выбор->список, *строка, СтрокаПоиска{*строка, форма_поиска(записи.front())});
    return false;
  }
  // The window is gone when "Выход" was chosen while a notice of the save was open.
  if (win_GetType(win) != wk_NotAWindow) сбросить_выбор_окна(win);
  return true;
}

bool удалитизосновнойбазыпосписку(const std::vector<std::string>& lines, Window from) {
  if (lines.size() != 1) return false;
  const auto код = код_строки(lines.front());
  if (!код) return false;
  const auto записи = база_лит.по_коду(*код);
  if (записи.empty()) return false;
  return изменить(УдалитьЗапись{записи.front()}, from);
}

bool редактироватьзапись(Window win, bool reset) {
  устрежимработысбазой.set(режим_редактирования);
  if (!запомнить_выделение(win)) return false;
  dlg_ввод_данных_Create(win);
  if (reset && win_GetType(win) != wk_NotAWindow) сбросить_выбор_окна(win);
  return true;
}
