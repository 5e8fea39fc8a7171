// Undoing and redoing the steps of the history. Every undo and redo is one action on one table:
// a fact taken out (found by value) and a fact put in at a place, in that order, then the save
// of the table's file; when the save fails the action is rolled back fact by fact, so memory
// ends as it began and the file, replaced only when complete, was never touched.
#include "app/undo_history.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "app/catalogue_files.h"
#include "app/data_entry.h"
#include "app/list_filter.h"
#include "app/list_window.h"
#include "app/session.h"
#include "app/task_window.h"
#include "layer/layer.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"

namespace {

constexpr std::size_t kВКонец = static_cast<std::size_t>(-1);

// What an undo or redo does to a table of facts of type T.
template <class T>
struct Действие {
  std::optional<T> убрать;  // the fact taken out: the first equal one, or the last with с_конца
  bool с_конца = false;
  std::optional<T> вставить;  // the fact put in at `место` (kВКонец: last); a record whose code
  std::size_t место = 0;      // is taken meanwhile gets a new one
};

// How an action ended; `вставлено` is the fact put in (a record with the code it got).
template <class T>
struct Исход {
  enum { сделано, нет_значения, не_сохранено } как = сделано;
  std::optional<T> вставлено;
  int код_ошибки = 0;  // why the save failed
};

std::string кавычки(const std::string& s) { return "«"_cps + s + "»"_cps; }

// The words for what a step is about.
std::string о_записи(const ЗаписьБазы& з) { return "записи "_cps + std::to_string(з.код); }
std::string о_категории(const std::string& к) { return "категории "_cps + кавычки(к); }

std::string описание(const ШагИстории& шаг) {
  struct {
    std::string operator()(const ВводЗаписи& s) const { return "ввод "_cps + о_записи(s.запись); }
    std::string operator()(const ПравкаЗаписи& s) const { return "изменение "_cps + о_записи(s.старая); }
    std::string operator()(const УдалениеЗаписи& s) const { return "удаление "_cps + о_записи(s.запись); }
    std::string operator()(const ВводКатегории& s) const { return "ввод "_cps + о_категории(s.категория); }
    std::string operator()(const ПравкаКатегории& s) const { return "изменение "_cps + о_категории(s.старая); }
    std::string operator()(const УдалениеКатегории& s) const { return "удаление "_cps + о_категории(s.категория); }
  } слова;
  return std::visit(слова, шаг);
}

bool код_занят(std::int32_t код) {
  for (auto v : база_лит.views())
    if (v[&ЗаписьБазы::код] == код) return true;
  return false;
}
// A record put back keeps its code while no other record has taken it; otherwise it gets a new
// one as data entry would.
void дать_код(ЗаписьБазы& з) {
  if (код_занят(з.код)) з.код = формирумновыйкод();
}
void дать_код(std::string&) {}

// The position of the first (or last) fact equal to `value`.
template <class T>
std::optional<std::size_t> место_значения(const FactKind<T>& table, const T& value, bool с_конца) {
  std::optional<std::size_t> found;
  std::size_t i = 0;
  for (const T& fact : table.facts()) {
    if (fact == value) {
      found = i;
      if (!с_конца) break;
    }
    ++i;
  }
  return found;
}

template <class T>
T изъять_на_месте(FactKind<T>& table, std::size_t место) {
  return std::move(изъять(table, [&, i = std::size_t(0)](const T&) mutable { return i++ == место; })->first);
}

template <class T, class Save>
Исход<T> выполнить(FactKind<T>& table, const Действие<T>& д, Save сохранить) {
  Исход<T> исход;
  std::optional<std::pair<T, std::size_t>> убрано;
  if (д.убрать) {
    const auto место = место_значения(table, *д.убрать, д.с_конца);
    if (!место) {
      исход.как = Исход<T>::нет_значения;
      return исход;
    }
    убрано.emplace(изъять_на_месте(table, *место), *место);
  }
  std::size_t вставлено_на = 0;
  if (д.вставить) {
    T значение = *д.вставить;
    дать_код(значение);
    вставлено_на = std::min(д.место, table.count());
    table.insert_at(вставлено_на, значение);
    исход.вставлено = std::move(значение);
  }
  try {
    сохранить();
  } catch (const RunError& e) {
    if (исход.вставлено) изъять_на_месте(table, вставлено_на);
    if (убрано) table.insert_at(убрано->second, убрано->first);
    исход.как = Исход<T>::не_сохранено;
    исход.код_ошибки = e.code();
    исход.вставлено.reset();
  }
  return исход;
}

// The open list windows show a record gone and a record come at once, through their find filter
// (a new line is shown only when the filter selects it); a window whose selected line went is
// put back to the state of a window without a selection.
void показать_в_окнах_просмотра(const std::optional<ЗаписьБазы>& убрана, const std::optional<ЗаписьБазы>& добавлена) {
  const std::optional<std::string> старая_строка = убрана ? строка_списка(*убрана) : std::nullopt;
  std::optional<СтрокаПоиска> новая_строка;
  if (добавлена)
    if (auto строка = строка_списка(*добавлена)) новая_строка = СтрокаПоиска{std::move(*строка), форма_поиска(*добавлена)};
  if (!старая_строка && !новая_строка) return;
  for (const Window окно : сеанс().окна_просмотра) {
    if (win_GetType(окно) == wk_NotAWindow) continue;
    const Window список = win_GetCtlHandle(окно, ид_списка);
    заменить_строку_списка(список, старая_строка, новая_строка);
    if (!lbox_GetSelIndex(список)) сбросить_выбор_окна(окно);
  }
}

// The two directions of the history.
struct Направление {
  std::vector<ШагИстории>& откуда;
  std::vector<ШагИстории>& куда;
  std::string_view глагол;     // "отменить" / "повторить"
  std::string_view заголовок;  // the title of its messages
  bool назад;                  // undo
};

void сообщить(const Направление& н, const ШагИстории& шаг, const std::string& что_случилось) {
  dlg_MessageBox(std::string(н.заголовок),
                 "Не удалось "_cps + std::string(н.глагол) + " "_cps + описание(шаг) + ": "_cps + что_случилось,
                 mb_Error, mb_Ok, 0, mb_TaskModal);
}

// The actions of a step in one direction, on its table, with the step updated afterwards to the
// codes its records got.
template <class T, class Save>
bool сделать(const Направление& н, ШагИстории& шаг, FactKind<T>& table, const Действие<T>& д, Save сохранить,
             std::string_view файл, std::string_view о_пропаже, T* обновить) {
  Исход<T> исход = выполнить(table, д, сохранить);
  if (исход.как == Исход<T>::нет_значения) {
    const ШагИстории пропавший = шаг;
    н.откуда.pop_back();
    показать_историю();
    сообщить(н, пропавший, std::string(о_пропаже) + "\nЭтот шаг убран из истории."_cps);
    return false;
  }
  if (исход.как == Исход<T>::не_сохранено) {
    сообщить(н, шаг,
             "файл "_cps + кавычки(std::string(файл)) + " не записан ("_cps + ERR_ErrorWords(исход.код_ошибки) +
                 ").\nДанные и файл остались как были. "_cps + ERR_ErrorAdvice(исход.код_ошибки));
    return false;
  }
  if (обновить && исход.вставлено) *обновить = *исход.вставлено;
  if constexpr (std::is_same_v<T, ЗаписьБазы>)
    показать_в_окнах_просмотра(д.убрать, исход.вставлено);
  н.куда.push_back(std::move(шаг));
  н.откуда.pop_back();
  показать_историю();
  return true;
}

// Hands the action of `шаг` backwards (undo) or forwards (redo) to `база`, an action on the
// records with the record of the step that the record put in updates, or to `категории`, an
// action on the categories; answers what they answer.
template <class OnRecords, class OnCategories>
bool действие_шага(ШагИстории& шаг, bool назад, OnRecords база, OnCategories категории) {
  if (auto* s = std::get_if<ВводЗаписи>(&шаг))
    return назад ? база({s->запись, false, {}, 0}, nullptr) : база({{}, false, s->запись, 0}, &s->запись);
  if (auto* s = std::get_if<ПравкаЗаписи>(&шаг))
    return назад ? база({s->новая, false, s->старая, s->место}, &s->старая)
                 : база({s->старая, false, s->новая, 0}, &s->новая);
  if (auto* s = std::get_if<УдалениеЗаписи>(&шаг))
    return назад ? база({{}, false, s->запись, s->место}, &s->запись) : база({s->запись, false, {}, 0}, nullptr);
  if (auto* s = std::get_if<ВводКатегории>(&шаг))
    return назад ? категории({s->категория, true, {}, 0}) : категории({{}, false, s->категория, kВКонец});
  if (auto* s = std::get_if<ПравкаКатегории>(&шаг))
    return назад ? категории({s->новая, true, s->старая, s->место}) : категории({s->старая, false, s->новая, kВКонец});
  const auto& s = std::get<УдалениеКатегории>(шаг);
  return назад ? категории({{}, false, s.категория, s.место}) : категории({s.категория, false, {}, 0});
}

bool шагнуть(const Направление& н) {
  if (н.откуда.empty()) return false;
  ШагИстории& шаг = н.откуда.back();
  const auto база = [&](Действие<ЗаписьБазы> д, ЗаписьБазы* обновить) {
    return сделать(н, шаг, база_лит, д, сохранить_основную_базу, файл_базы,
                   "этой записи больше нет в каталоге."_cps, обновить);
  };
  const auto категории = [&](Действие<std::string> д) {
    return сделать<std::string>(н, шаг, категории_лит, д, сохранить_категории, файл_категорий,
                                "этой категории больше нет в списке категорий."_cps, nullptr);
  };
  return действие_шага(шаг, н.назад, база, категории);
}

bool записи_шага(const ШагИстории& шаг) {
  return std::holds_alternative<ВводЗаписи>(шаг) || std::holds_alternative<ПравкаЗаписи>(шаг) ||
         std::holds_alternative<УдалениеЗаписи>(шаг);
}

// One of the two buttons: greyed or not, and its help line.
void показать_кнопку(int id, const std::string& что, std::string_view приставка, std::string_view обычный_текст) {
  включить_кнопку_задачи(id, !что.empty());
  if (const Window задача = uix_GetTaskWin())
    toolbar_SetHelpText(задача, id, что.empty() ? std::string(обычный_текст) : std::string(приставка) + что);
}

}  // namespace

void запомнить_изменение(ШагИстории шаг) {
  ИсторияИзменений& история = сеанс().история;
  история.повтор.clear();
  история.отмена.push_back(std::move(шаг));
  if (история.отмена.size() > глубина_истории) история.отмена.erase(история.отмена.begin());
  показать_историю();
}

bool сохранить_изменение(ШагИстории шаг) {
  if (записи_шага(шаг) ? сохранить_изменение_базы() : сохранить_изменение_категорий()) {
    запомнить_изменение(std::move(шаг));
    return true;
  }
  // The change taken back in memory as its undo would take it back, with nothing saved: the file
  // was never replaced.
  const auto без_сохранения = [] {};
  действие_шага(
      шаг, true,
      [&](const Действие<ЗаписьБазы>& д, ЗаписьБазы*) { return выполнить(база_лит, д, без_сохранения).как == Исход<ЗаписьБазы>::сделано; },
      [&](const Действие<std::string>& д) { return выполнить(категории_лит, д, без_сохранения).как == Исход<std::string>::сделано; });
  return false;
}

void забыть_историю() {
  сеанс().история = ИсторияИзменений{};
  показать_историю();
}

std::string что_отменить() {
  const auto& шаги = сеанс().история.отмена;
  return шаги.empty() ? std::string() : описание(шаги.back());
}

std::string что_повторить() {
  const auto& шаги = сеанс().история.повтор;
  return шаги.empty() ? std::string() : описание(шаги.back());
}

bool отменить_изменение() {
  ИсторияИзменений& и = сеанс().история;
  return шагнуть({и.отмена, и.повтор, "отменить"_cp, "Отмена изменения"_cp, true});
}

bool повторить_изменение() {
  ИсторияИзменений& и = сеанс().история;
  return шагнуть({и.повтор, и.отмена, "повторить"_cp, "Повтор изменения"_cp, false});
}

void показать_историю() {
  показать_кнопку(cmd_КнопкаОтменить, что_отменить(), "Отменить: "_cp, "Undo");
  показать_кнопку(cmd_КнопкаПовторить, что_повторить(), "Повторить: "_cp, "Redo");
}
