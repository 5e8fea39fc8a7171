// The session: what the run of the catalogue program knows besides the catalogue core. Its
// working tables (never written to a file): the list window's selection, the data-entry mode, the
// cover file and the registered cover window, the data-saved note's timer ticks (the codes list
// is the core's, core/record_codes.h). The card font as a font (its setting is the core's). And
// the run's own bookkeeping of its windows: the list windows open, their find filters and whether
// their operations are on, the help topics of the dialogs running.
//
// The program's one reset entry (the session at its start) is registered with the runtime by
// зарегистрировать_состояние_программы, after the core's; RUN_ResetParts (run.h) runs them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/book_record.h"
#include "core/lending.h"
#include "core/list_search.h"
#include "core/list_table.h"
#include "core/record_codes.h"
#include "layer/types.h"
#include "runtime/fact_kind.h"

// Modes of the data-entry dialog.
inline constexpr std::int32_t режим_ввода = 2;
inline constexpr std::int32_t режим_редактирования = 0;

// The dialog mode, with the test form `устрежимработысбазой(Mode)`.
class ТаблицаРежима : public SingleKind<std::int32_t> {
 public:
  using SingleKind<std::int32_t>::SingleKind;
  // Whether the stored mode is `режим`.
  bool operator()(std::int32_t режим) const { return get() == режим; }
};

// The registered cover window and whether it is open, with the form `id_окнаобложки(Open)`.
class ТаблицаОкнаОбложки : public DetermKind<std::tuple<Window, bool>> {
 public:
  using DetermKind<std::tuple<Window, bool>>::DetermKind;
  // The stored window when the stored open flag equals `открыто`; nothing otherwise or when no
  // fact exists.
  std::optional<Window> operator()(bool открыто) const;
};

// The selection of the literature list window: its list box, the texts of the selected lines
// and their positions (one each, or none, in the single-selection list box).
struct ВыбранныеСтроки {
  Window список = 0;
  std::vector<std::string> строки;
  std::vector<int> позиции;
  auto fields() { return std::tie(список, строки, позиции); }
  bool operator==(const ВыбранныеСтроки&) const = default;
};

// Working tables of the run (and the codes list, core/record_codes.h).
extern FactSection секция_состояния;
extern DetermKind<ВыбранныеСтроки> выделенныеэлементыспискапросмотра;
extern ТаблицаРежима устрежимработысбазой;            // start: 2 (entry)
extern SingleKind<std::string> имяфайлаобложки;       // start: ""
extern SingleKind<std::int32_t> счетчикпрерывтаймера; // start: 0
extern ТаблицаОкнаОбложки id_окнаобложки;

// The card font as the settings table (core/catalogue_facts.h) holds it, and back (nothing when the stored block is not
// a font block).
Binary шрифт_в_блок(const Font& шрифт);
std::optional<Font> шрифт_из_блока(const Binary& блок);

// What a list window's find filter knows (app/list_filter.h): the filter of its list
// (core/list_search.h), the window's title without a filter, and when the filter was last changed.
struct ПоискОкна {
  ПоискСписка список;
  std::string заголовок;      // the window's title without a filter
  std::uint64_t порядок = 0;  // when the filter was last changed (larger is later)
  std::uint64_t версия = 0;   // counts the changes of the list's lines (the table follows them)
};

// The table view of a list window (app/list_table.h): whether it is shown instead of the lines,
// its control and the pane of the selected book, its sort, and what it keeps to show and sort a
// hundred thousand rows at once. Its rows are the lines the find filter shows (ПоискСписка),
// each the index of its line in the list, in the table's order.
struct ТаблицаОкна {
  bool показана = false;       // the table shown, not the lines
  bool панель = true;          // the pane of the selected book shown beside the list
  Window таблица = 0;          // the multi-column list
  Window окно_панели = 0;      // the pane
  int колонка = -1;            // the sort's column (among поля_таблицы), -1: the list's order
  bool по_возрастанию = true;
  // The catalogue's records by code (core/list_table.h: compact, the texts in one buffer), made
  // when the table is first shown and kept current with every change; the record of each line of
  // the list (index in ПоискСписка::строки into `записи`, kНетЗаписи for none), and every line in
  // the sort's order, made again when the lines, the records or the sort changed.
  ЗаписиТаблицы записи;
  bool записи_есть = false;
  static constexpr std::uint32_t kНетЗаписи = ~std::uint32_t{0};
  std::vector<std::uint32_t> записи_строк;
  // Who has each book out, for the column "На руках" (core/lending.h: кто_на_руках_по_книгам),
  // made again when the loans or the readers changed since (their sections' counts of changes);
  // the counts the sort's order was made for when it is by that column.
  std::unordered_map<std::int32_t, std::string> на_руках;
  std::pair<std::uint64_t, std::uint64_t> на_руках_при{~std::uint64_t{0}, ~std::uint64_t{0}};
  std::pair<std::uint64_t, std::uint64_t> на_руках_порядка{~std::uint64_t{0}, ~std::uint64_t{0}};
  // The record of the row last drawn, read once for all its cells (kНетЗаписи: none read).
  std::uint32_t прочитанная = kНетЗаписи;
  ЗаписьБазы запись_ряда;
  std::vector<std::uint32_t> порядок;
  std::uint64_t версия_строк = ~std::uint64_t{0};  // the list's version they were made for
  bool записи_изменились = true;
  int колонка_порядка = -2;
  bool возрастание_порядка = true;
  std::vector<std::uint32_t> ряды;  // the lines shown, in the table's order
};

// The start of a run from the command line: the catalogue folder it named (a host path, made
// absolute), or none.
struct ЗапускПрограммы {
  std::string папка;
  std::string сервер;  // a server catalogue's URI (UTF-8) in place of a folder
};

// The lending dialogs and windows open now (lending_dialogs.h, lending_windows.h): what each of
// their tables shows, row by row, and what the user chose in them.
struct ОкнаВыдачи {
  // The issue dialog: the books its book field finds, the book chosen (its code), the readers its
  // reader field finds, the reader chosen.
  Window выдача = 0;
  std::vector<ЗаписьБазы> книги;
  std::optional<std::int32_t> книга;
  std::vector<Читатель> читатели_выдачи;
  std::optional<std::int32_t> читатель;
  // The return dialog: the loans out of the book of the code typed.
  Window возврат = 0;
  std::vector<Выдача> выдачи_возврата;
  // The readers window: the readers its find field shows, how many books each has out, and the
  // chosen reader's loans out and all loans.
  Window читатели = 0;
  std::vector<Читатель> читатели_окна;
  std::unordered_map<std::int32_t, int> на_руках;
  std::vector<Выдача> выдачи_на_руках, история;
  // The overdue window and its loans.
  Window должники = 0;
  std::vector<Долг> долги;
  // The loan history window: the books its book field finds, the book chosen (its code), and the
  // chosen book's loans.
  Window история_книги = 0;
  std::vector<ЗаписьБазы> книги_истории;
  std::optional<std::int32_t> книга_истории;
  std::vector<Выдача> выдачи_книги;
};

// The run's bookkeeping besides its tables.
struct Сеанс {
  // The start the command line asked for, noted by the process entry before the run; unset in a
  // run that did not come from the command line (the program's tests), which works on the
  // current directory as it finds it (first_start.h).
  std::optional<ЗапускПрограммы> запуск;
  // Whether the catalogue could be changed when the menus were last set (a server's connection
  // may go and come back: server_catalogue.h).
  bool каталог_можно_менять = true;
  // The list windows open now, in opening order: the task window's toolbars come back when the
  // last one closes.
  std::vector<Window> окна_просмотра;
  // The help topics of the dialogs running now, the innermost last (F1 opens the last).
  std::vector<int> темы_справки;
  // The list windows whose operations (Delete, Edit, Card) are on: a line was selected, or the
  // window was repainted in edit mode, since they were last put off.
  std::set<Window> окна_с_операциями;
  // The find filter of each list window open, and the count of filter changes that orders them.
  std::map<Window, ПоискОкна> поиск_списков;
  // The table view of each list window open.
  std::map<Window, ТаблицаОкна> таблицы_списков;
  std::uint64_t изменений_поиска = 0;
  // The task window's timer of the watch that keeps the catalogue current with what other desks
  // store (core/change_path.h: освежить_каталог); 0 while none runs.
  std::int32_t таймер_слежения = 0;
  // What the watch has to tell the user, waiting while a box or dialog runs.
  std::vector<std::string> сообщения_слежения;
  // The data-entry dialog open now (0: none), and the record it edits as it stood when the
  // dialog opened: its OK changes that record or, when another desk changed or deleted it
  // meanwhile, nothing.
  Window диалог_ввода = 0;
  std::optional<ЗаписьБазы> правимая_запись;
  // The kind of the last record entered in this run: the data-entry dialog preselects it.
  std::string последний_вид;
  // The folder a cover picture was last chosen from in this run (the chooser starts there).
  std::string папка_обложек;
  // The folder last chosen for an export, an import, a PDF or a backup copy in this run.
  std::string папка_документов;
  ОкнаВыдачи выдача;
};
Сеанс& сеанс();

// Where a chooser of documents (export, import, PDF, backup copy) starts: the folder last chosen
// for one in this run, else the user's Documents — never the catalogue's own (maybe hidden)
// data folder.
std::string папка_для_документов();
// The folder of the path chosen (a file's folder; a folder itself when `папка`) becomes the one
// the next chooser of documents starts in.
void запомнить_папку_документов(const std::string& path, bool папка = false);

// While it lives, F1 in the dialogs that run opens the help at `тема` (0: changes nothing): the
// topic is the innermost of the session's help topics.
class ТемаСправки {
 public:
  explicit ТемаСправки(int тема);
  ~ТемаСправки();
  ТемаСправки(const ТемаСправки&) = delete;
  ТемаСправки& operator=(const ТемаСправки&) = delete;

 private:
  bool есть_;
};

// Puts the working tables back to their start values.
void сбросить_рабочие_факты();

// Registers the program's part (the session), and the core's, the packages', the layer's and the
// runtime's under it, with the runtime; later calls change nothing.
void зарегистрировать_состояние_программы();
