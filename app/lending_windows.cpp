// The readers window and the overdue window (see lending_windows.h).
#include "app/lending_windows.h"

#include <algorithm>

#include "app/catalogue_changes.h"
#include "app/lending_dialogs.h"
#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_folder.h"
#include "core/change_path.h"
#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace {

ОкнаВыдачи& окна() { return сеанс().выдача; }

Window эл(Window win, int id) { return win_GetCtlHandle(win, id); }

bool живо(Window win) { return win != 0 && win_GetType(win) != wk_NotAWindow; }

// The one window of its kind: the open one brought to the top, else made.
Window открыть_одно(Window открытое, Window task, int ресурс, EventHandler handler) {
  if (живо(открытое)) {
    win_BringToTop(открытое);
    return открытое;
  }
  return dialog_CreateModeless(task, ресурс, std::string(), {}, handler, 0);
}

// ---- Readers ----

const std::vector<ListViewColumn>& колонки_выдач() {
  static const std::vector<ListViewColumn> к = {{"Код"_cps, 50, ca_Right, true},      {"Автор"_cps, 110, ca_Left, true},
                                                {"Наименование"_cps, 170, ca_Left, true}, {"Выдана"_cps, 75, ca_Left, true},
                                                {"Срок"_cps, 75, ca_Left, true},         {"Возвращена"_cps, 90, ca_Left, true}};
  return к;
}

std::string ячейка_окна_читателей(int row, int column) {
  const Читатель* ч = ряд_таблицы(окна().читатели_окна, row);
  if (!ч) return std::string();
  const auto it = окна().на_руках.find(ч->код);
  return ячейка_читателя(*ч, column, it == окна().на_руках.end() ? 0 : it->second);
}

std::string ячейка_выдачи(const Выдача* в, int column) {
  if (!в) return std::string();
  const auto книга = [в](auto поле) {
    const auto записи = база_лит.по_коду(в->код_книги);
    return записи.empty() ? std::string() : записи.front().*поле;
  };
  switch (column) {
    case 0: return std::to_string(в->код_книги);
    case 1: return книга(&ЗаписьБазы::автор);
    case 2: return книга(&ЗаписьБазы::наименование);
    case 3: return показ_даты(в->выдана);
    case 4: return показ_даты(в->срок);
    default: return показ_даты(в->возвращена);
  }
}

std::optional<Читатель> выбранный_читатель(Window win) {
  const auto i = lview_GetSel(эл(win, ид_СписокЧитателей));
  const Читатель* ч = i ? ряд_таблицы(окна().читатели_окна, *i) : nullptr;
  return ч ? std::optional(*ч) : std::nullopt;
}

// The chosen reader's loans: the books out, and every loan in the order of issue.
void показать_выдачи_читателя(Window win) {
  const auto ч = выбранный_читатель(win);
  окна().история = ч ? выдачи_читателя(ч->код) : std::vector<Выдача>{};
  окна().выдачи_на_руках.clear();
  for (const Выдача& в : окна().история)
    if (в.на_руках()) окна().выдачи_на_руках.push_back(в);
  lview_SetRowCount(эл(win, ид_КнигиНаРуках), static_cast<int>(окна().выдачи_на_руках.size()));
  lview_SetRowCount(эл(win, ид_ИсторияЧитателя), static_cast<int>(окна().история.size()));
  for (const int id : {ид_ИзменитьЧитателя, ид_УдалитьЧитателя})
    win_SetState(эл(win, id), {ч ? st_Enabled : st_Disabled});
}

// The readers the find field names, the chosen one kept chosen (or `код`, one just added).
void заполнить_читателей(Window win, std::optional<std::int32_t> код = std::nullopt) {
  if (!код)
    if (const auto ч = выбранный_читатель(win)) код = ч->код;
  окна().читатели_окна = читатели_по_запросу(win_GetText(эл(win, ид_ПоискЧитателей)));
  окна().на_руках = книг_на_руках_у_читателей();
  const Window т = эл(win, ид_СписокЧитателей);
  lview_SetRowCount(т, static_cast<int>(окна().читатели_окна.size()));
  const auto& ряды = окна().читатели_окна;
  for (std::size_t i = 0; код && i < ряды.size(); ++i)
    if (ряды[i].код == *код) {
      lview_SetSel(т, static_cast<int>(i));
      lview_EnsureVisible(т, static_cast<int>(i));
    }
  показать_выдачи_читателя(win);
}

void создать_окно_читателей(Window win) {
  окна().читатели = win;
  задать_колонки(эл(win, ид_СписокЧитателей), колонки_читателей());
  lview_SetSource(эл(win, ид_СписокЧитателей), ячейка_окна_читателей);
  задать_колонки(эл(win, ид_КнигиНаРуках), колонки_выдач(), {3, 4, 5});
  lview_SetSource(эл(win, ид_КнигиНаРуках), [](int r, int c) { return ячейка_выдачи(ряд_таблицы(окна().выдачи_на_руках, r), c); });
  задать_колонки(эл(win, ид_ИсторияЧитателя), колонки_выдач(), {3, 4, 5});
  lview_SetSource(эл(win, ид_ИсторияЧитателя), [](int r, int c) { return ячейка_выдачи(ряд_таблицы(окна().история, r), c); });
  заполнить_читателей(win);
  win_SetFocus(эл(win, ид_ПоискЧитателей));
}

void изменить_читателя(Window win) {
  const auto ч = выбранный_читатель(win);
  if (!ч) return;
  const auto новый = dlg_читателя_Create(win, "Изменить читателя"_cps, *ч);
  if (!новый || *новый == *ч) return;
  изменить(ИзменитьЧитателя{*ч, *новый});
}

void удалить_читателя(Window win) {
  const auto ч = выбранный_читатель(win);
  if (!ч) return;
  const std::string заголовок = "Удалить читателя"_cps;
  if (const auto нельзя = читателя_нельзя_удалить(*ч)) {
    dlg_Error(заголовок, *нельзя);
    return;
  }
  if (dlg_Ask(win, заголовок, "Удалить читателя «"_cps + ч->фио + "»? Его история выдач останется."_cps,
              {"&Да"_cps, "&Нет"_cps}) != 0)
    return;
  изменить(УдалитьЧитателя{*ч});
}

// ---- Overdue loans ----

// The table's columns and which of the overdue list's cells (ячейки_долга) each shows: the reader
// first, the days overdue last.
constexpr int kЯчейкиДолга[] = {1, 2, 3, 4, 5, 6, 7, 0};

std::vector<ListViewColumn> колонки_долгов() {
  const int ширины[] = {50, 170, 70, 100, 50, 110, 160, 80};
  std::vector<ListViewColumn> к;
  for (const int i : kЯчейкиДолга)
    к.push_back({колонки_должников()[static_cast<std::size_t>(i)], ширины[i], i == 0 || i == 4 ? ca_Right : ca_Left, true});
  return к;
}

std::string ячейка_долга(int row, int column) {
  const Долг* д = ряд_таблицы(окна().долги, row);
  if (!д || column < 0 || column >= static_cast<int>(std::size(kЯчейкиДолга))) return std::string();
  return ячейки_долга(*д)[static_cast<std::size_t>(kЯчейкиДолга[column])];
}

void заполнить_долги(Window win) {
  окна().долги = должники(сегодня());
  const std::size_t n = окна().долги.size();
  win_SetText(эл(win, ид_ЧислоДолгов),
              n == 0 ? "Просроченных выдач нет."_cps : "Просрочено выдач: "_cps + std::to_string(n));
  lview_SetRowCount(эл(win, ид_СписокДолгов), static_cast<int>(n));
  for (const int id : {ид_ПечатьДолгов, ид_ДолгиВPdf, ид_ДолгиВCsv}) win_SetState(эл(win, id), {n ? st_Enabled : st_Disabled});
}

// The overdue list as the printed and PDF table.
PrintTable таблица_должников(const std::vector<Долг>& долги) {
  PrintTable t;
  t.title = "Должники"_cps;
  t.date = показ_даты(текст_даты(сегодня()));
  t.page_label = [](int page, int pages) { return "стр. "_cps + std::to_string(page) + " из "_cps + std::to_string(pages); };
  const int доли[] = {1, 4, 2, 3, 1, 4, 5, 2};
  for (std::size_t i = 0; i < колонки_должников().size(); ++i)
    t.columns.push_back({колонки_должников()[i], доли[i], i == 0 || i == 4 ? print_Right : print_Left});
  t.row_count = долги.size();
  t.row = [долги](std::size_t i, std::vector<std::string>& cells) { cells = ячейки_долга(долги[i]); };
  t.progress_text = "Список должников готовится…"_cps;
  return t;
}

// ---- A book's loans ----

const std::vector<ListViewColumn>& колонки_выдач_книги() {
  static const std::vector<ListViewColumn> к = {{"Читатель"_cps, 200, ca_Left, true}, {"Группа"_cps, 70, ca_Left, true},
                                                {"Выдана"_cps, 80, ca_Left, true},  {"Срок"_cps, 80, ca_Left, true},
                                                {"Возвращена"_cps, 90, ca_Left, true}, {"Просрочка, дн."_cps, 115, ca_Right, true}};
  return к;
}

std::string ячейка_выдачи_книги(int row, int column) {
  const Выдача* в = ряд_таблицы(окна().выдачи_книги, row);
  if (!в) return std::string();
  const auto ч = читатель_по_коду(в->код_читателя);
  switch (column) {
    case 0: return ч ? ч->фио : "читатель "_cps + std::to_string(в->код_читателя);
    case 1: return ч ? ч->группа : std::string();
    case 2: return показ_даты(в->выдана);
    case 3: return показ_даты(в->срок);
    case 4: return показ_даты(в->возвращена);
    default: {
      const int дней = дней_просрочки(*в, сегодня());
      return дней > 0 ? std::to_string(дней) : std::string();
    }
  }
}

// The chosen book's loans, and the line above them: the book, how many times it was lent and how
// many copies are out, or what the book field found.
void показать_выдачи_книги(Window win) {
  const auto i = lview_GetSel(эл(win, ид_КнигиИстории));
  const ЗаписьБазы* з = i ? ряд_таблицы(окна().книги_истории, *i) : nullptr;
  окна().книга_истории = з ? std::optional(з->код) : std::nullopt;
  окна().выдачи_книги = з ? выдачи_книги(з->код) : std::vector<Выдача>{};
  const auto& выдачи = окна().выдачи_книги;
  lview_SetRowCount(эл(win, ид_ВыдачиКниги), static_cast<int>(выдачи.size()));
  std::string t;
  if (з && выдачи.empty()) {
    t = книга_в_начале(з->код) + ": не выдавалась."_cps;
  } else if (з) {
    const auto на_руках = std::count_if(выдачи.begin(), выдачи.end(), [](const Выдача& в) { return в.на_руках(); });
    t = книга_в_начале(з->код) + ": выдач "_cps + std::to_string(выдачи.size()) + ", на руках "_cps + std::to_string(на_руках);
  } else {
    t = о_найденных_книгах(окна().книги_истории.size(), win_GetText(эл(win, ид_КнигаИстории)).find_first_not_of(' ') == std::string::npos);
  }
  win_SetText(эл(win, ид_ОКнигеИстории), t);
}

// The books the book field names; one found is chosen at once (a scanner's code), and with
// `оставить_выбор` the book chosen before stays chosen when it is still found.
void найти_книги_истории(Window win, bool оставить_выбор) {
  const auto прежняя = оставить_выбор ? окна().книга_истории : std::nullopt;
  окна().книги_истории = книги_по_запросу(win_GetText(эл(win, ид_КнигаИстории)), kКнигНеБольше);
  const auto& книги = окна().книги_истории;
  const Window т = эл(win, ид_КнигиИстории);
  lview_SetRowCount(т, static_cast<int>(книги.size()));
  std::optional<std::size_t> выбор;
  if (книги.size() == 1) выбор = 0;
  for (std::size_t i = 0; прежняя && i < книги.size(); ++i)
    if (книги[i].код == *прежняя) выбор = i;
  if (выбор) {
    lview_SetSel(т, static_cast<int>(*выбор));
    lview_EnsureVisible(т, static_cast<int>(*выбор));
  }
  показать_выдачи_книги(win);
}

}  // namespace

bool напечатать_должников(const std::vector<Долг>& долги) { return print_ToPrinter(таблица_должников(долги)); }

bool вывести_должников(const std::vector<Долг>& долги, bool pdf) {
  std::vector<std::string> выбранные;
  const auto файл = pdf ? dlg_GetFileName("Должники.pdf"_cps, {"PDF"_cps, "*.pdf"}, "Должники"_cps, {1},
                                          папка_для_документов(), выбранные)
                        : dlg_GetFileName("Должники.csv"_cps, {"CSV"_cps, "*.csv"}, "Должники"_cps, {1},
                                          папка_для_документов(), выбранные);
  if (!файл) return false;
  запомнить_папку_документов(*файл);
  try {
    if (pdf) return print_ToPdf(таблица_должников(долги), *файл);
    RUN_ReplaceFile(*файл, csv_должников(долги));
    return true;
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    dlg_Error("Должники"_cps, текст_отказа("Файл не записан"_cps, e));
    return false;
  }
}

Window win_читатели_Create(Window task) { return открыть_одно(окна().читатели, task, окно_читателей, win_читатели_eh); }

std::optional<long> win_читатели_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    создать_окно_читателей(win);
    return std::nullopt;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    окна().читатели = 0;
    окна().читатели_окна.clear();
    окна().выдачи_на_руках.clear();
    окна().история.clear();
    return std::nullopt;
  }
  if (событие_элемента<modified>(ev, ид_ПоискЧитателей)) {
    заполнить_читателей(win);
    return 0;
  }
  if (событие_элемента<selchanged>(ev, ид_СписокЧитателей)) {
    показать_выдачи_читателя(win);
    return 0;
  }
  if (событие_элемента<activated>(ev, ид_ДобавитьЧитателя)) {
    if (const auto ч = добавить_читателя(win, std::string()); ч && живо(win)) заполнить_читателей(win, ч->код);
    return 0;
  }
  if (событие_элемента<activated>(ev, ид_ИзменитьЧитателя) || событие_элемента<activated>(ev, ид_СписокЧитателей)) {
    изменить_читателя(win);
    return 0;
  }
  if (событие_элемента<activated>(ev, ид_УдалитьЧитателя)) {
    удалить_читателя(win);
    return 0;
  }
  if (событие_элемента<activated>(ev, кнопка_OK)) return 0;  // Enter in the find field closes nothing
  return std::nullopt;
}

Window win_должники_Create(Window task) { return открыть_одно(окна().должники, task, окно_должников, win_должники_eh); }

std::optional<long> win_должники_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    окна().должники = win;
    задать_колонки(эл(win, ид_СписокДолгов), колонки_долгов(), {6});
    lview_SetSource(эл(win, ид_СписокДолгов), ячейка_долга);
    заполнить_долги(win);
    return std::nullopt;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    окна().должники = 0;
    окна().долги.clear();
    return std::nullopt;
  }
  // The list is copied: a change heard while a box runs may make it again.
  if (событие_элемента<activated>(ev, ид_ПечатьДолгов)) {
    напечатать_должников(std::vector<Долг>(окна().долги));
    return 0;
  }
  if (событие_элемента<activated>(ev, ид_ДолгиВPdf) || событие_элемента<activated>(ev, ид_ДолгиВCsv)) {
    вывести_должников(std::vector<Долг>(окна().долги), событие_элемента<activated>(ev, ид_ДолгиВPdf));
    return 0;
  }
  if (событие_элемента<activated>(ev, кнопка_OK)) return 0;
  return std::nullopt;
}

Window win_история_Create(Window task) { return открыть_одно(окна().история_книги, task, окно_истории, win_история_eh); }

std::optional<long> win_история_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    окна().история_книги = win;
    задать_колонки(эл(win, ид_КнигиИстории), колонки_найденных_книг());
    lview_SetSource(эл(win, ид_КнигиИстории),
                    [](int r, int c) { return ячейка_найденной_книги(ряд_таблицы(окна().книги_истории, r), c); });
    задать_колонки(эл(win, ид_ВыдачиКниги), колонки_выдач_книги(), {2, 3, 4});
    lview_SetSource(эл(win, ид_ВыдачиКниги), ячейка_выдачи_книги);
    найти_книги_истории(win, false);
    win_SetFocus(эл(win, ид_КнигаИстории));
    return std::nullopt;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    окна().история_книги = 0;
    окна().книги_истории.clear();
    окна().книга_истории.reset();
    окна().выдачи_книги.clear();
    return std::nullopt;
  }
  if (событие_элемента<modified>(ev, ид_КнигаИстории)) {
    найти_книги_истории(win, false);
    return 0;
  }
  if (событие_элемента<selchanged>(ev, ид_КнигиИстории)) {
    показать_выдачи_книги(win);
    return 0;
  }
  if (событие_элемента<activated>(ev, кнопка_OK)) return 0;  // a scanner's Enter closes nothing
  return std::nullopt;
}

void показать_изменения_выдачи(const Изменения& изменения) {
  if (изменения.пусто()) return;
  if (живо(окна().читатели) && (изменения.читатели || изменения.выдачи || !изменения.перечитанные.empty() ||
                                !изменения.убранные.empty() || !изменения.добавленные.empty()))
    заполнить_читателей(окна().читатели);
  if (живо(окна().должники)) заполнить_долги(окна().должники);
  if (живо(окна().история_книги)) найти_книги_истории(окна().история_книги, true);
}
