// The change path: every change of the catalogue, its categories and its settings is an
// operation value applied by one function, применить. It
//   (0) takes the stored catalogue for this desk (the folder's lock: the other desks wait) and
//       reads again the sections another desk stored since this desk read them (other_desks.h),
//       so that the operation applies to the fresh data and its save loses nothing of theirs;
//   (a) checks that the operation still applies (the record to edit or delete is still there as
//       the user saw it, found by value; a category to enter is not there yet, …);
//   (b) changes the tables;
//   (c) saves each section it touched once, through the storage seam (catalogue_files.h);
//   (d) records the undo step (undo_history.h), which holds what undoing needs;
//   (e) tells every subscriber what changed, so that open windows update in place.
// The hold is released before the subscribers hear of the change (and of what the other desks
// changed), so that the other desks never wait for this desk's windows.
// A save the host refuses (the disk full, the file read-only, …) puts memory back as it was (and a
// section saved before it is saved again as it was), records no step, tells nobody, and returns
// the message for the caller to show: which file was not written, why and what to do. (The card
// font is the exception: it stays chosen for the run.) An error of the program itself is raised.
// A change that no longer applies as the user meant it (the record edited or deleted meanwhile by
// another desk, an undo whose record changed) is refused with a message that names the record and
// what happened to it. A store that cannot be had (the folder gone, the lock not had within the
// time) refuses the change with its message; nothing changes then.
//
// A section added to the section list (catalogue_files.h) gets all of this without code of its
// own. Other kinds of change hook in here: a server that runs each operation as one transaction.
// A new operation is one more alternative of Операция and one more case of применить (and, when it
// can be undone, one more step of the history).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/changes.h"

// A record entered: it gets the next code (the largest plus 1) and stands first. The duplicate
// rule (ТаблицаБазы::по_содержанию) is the caller's to ask first.
struct ВвестиЗапись {
  ЗаписьБазы запись;
};
// A record replaced by its edited form: the new one gets the next code and stands first, then
// `прежняя` (the record as the user saw it) goes. When `прежняя` is no longer there (or none is
// given) the new record is entered all the same.
struct ИзменитьЗапись {
  std::optional<ЗаписьБазы> прежняя;
  ЗаписьБазы новая;
};
// A record deleted: the first record equal to it. Does not apply when none is.
struct УдалитьЗапись {
  ЗаписьБазы запись;
};
// A category entered at the back. Does not apply when it is there already.
struct ВвестиКатегорию {
  std::string категория;
};
// The first category equal to `прежняя` removed and `новая` entered at the back; with
// `с_записями`, every record of the category `прежняя` gets `новая` in the same step, each in its
// place with its code. Does not apply when `прежняя` is not there.
struct ИзменитьКатегорию {
  std::string прежняя;
  std::string новая;
  bool с_записями = false;
};
// The first category equal to it removed. Does not apply when none is.
struct УдалитьКатегорию {
  std::string категория;
};
// An import as a whole: its records put at the front one after another with the next codes (the
// largest plus 1, 2, … in their order), its new categories and kinds at the back; one step of the
// history. Does not apply when it brings nothing. Codes beyond the integer range raise 1031 before
// anything changes.
struct ИмпортироватьЗаписи {
  std::vector<ЗаписьБазы> записи;
  std::vector<std::string> категории;
  std::vector<std::string> виды;
  std::string источник;  // the name of the file read, for the history's words
};
// The card font replaced (not a step of the history). When its file cannot be written the font
// stays chosen for the run: the outcome is не_сохранено, with its message, but memory keeps it.
struct ЗадатьШрифтКарточки {
  Binary шрифт;
};
// A reader entered at the back with the next reader code (lending.h: новый_код_читателя).
struct ВвестиЧитателя {
  Читатель читатель;
};
// A reader's card replaced by its edited form, which keeps the code and the place. Does not apply
// when `прежний` is no longer there as the user saw it.
struct ИзменитьЧитателя {
  Читатель прежний;
  Читатель новый;
};
// A reader deleted (the loans of the history keep naming the code). Refused while the reader has
// books out, with a message that names them; does not apply when the reader is gone.
struct УдалитьЧитателя {
  Читатель читатель;
};
// A book issued: the loan put at the back. Refused with a message when the book or the reader is
// not in the catalogue, a date is not a date, the due date is before the issue, or every copy of
// the book is out (the message names who has them and until when).
struct ВыдатьКнигу {
  Выдача выдача;
};
// A book returned on `дата`: the first loan equal to `выдача` that is out gets the date, in its
// place. Refused when it is no longer out (returned at another desk), the date is not a date or
// is before the issue.
struct ПринятьКнигу {
  Выдача выдача;
  std::string дата;
};
// The loan period set, in days (1 or more; not a step of the history).
struct ЗадатьСрокВыдачи {
  int дней = 0;
};
// The last change taken back, or the last change taken back made again. Does not apply when
// there is nothing to undo or redo, or when what the step acts on is gone (the step is then
// dropped from the history and the user is to be told).
struct ОтменитьИзменение {};
struct ПовторитьИзменение {};

using Операция = std::variant<ВвестиЗапись, ИзменитьЗапись, УдалитьЗапись, ВвестиКатегорию, ИзменитьКатегорию,
                              УдалитьКатегорию, ИмпортироватьЗаписи, ЗадатьШрифтКарточки, ОтменитьИзменение,
                              ПовторитьИзменение, ВвестиЧитателя, ИзменитьЧитателя, УдалитьЧитателя, ВыдатьКнигу,
                              ПринятьКнигу, ЗадатьСрокВыдачи>;

// How an operation ended.
struct ИтогИзменения {
  // недоступно: the stored catalogue could not be had (its folder gone, another desk holding it
  // beyond the time to wait); nothing was tried.
  enum class Исход { сделано, не_применимо, не_сохранено, недоступно };
  Исход исход = Исход::сделано;
  // When it was not done and the user is to be told why, the message (cp1251); empty otherwise.
  std::string сообщение;
  // не_сохранено: the file that could not be written and the run-time error that said why (a
  // condition of the host's files: err_words.h puts it in words), and what more went wrong
  // putting back a file saved before it.
  std::string_view файл;
  int код_ошибки = 0;
  std::string вдобавок;
  Изменения изменения;
  bool сделано() const { return исход == Исход::сделано; }
};

// How many records an import has put in so far; heard every 1024 records and at the end.
using ОтчётИзменения = std::function<void(std::size_t)>;

// Applies the operation: the one way the catalogue, the categories and the settings change.
ИтогИзменения применить(Операция операция, ИсточникИзменения источник = 0, const ОтчётИзменения& отчёт = {});

// How long a change waits for another desk that holds the stored catalogue, and what runs about
// every 50 ms meanwhile (the program paints its windows there); 10 s and nothing at the start and
// after the core's reset.
inline constexpr std::chrono::milliseconds ожидание_хранилища_обычное{10000};
void задать_ожидание_хранилища(std::chrono::milliseconds ждать, std::function<void()> пока_ждём = {});

// What a run of the watch did: whether it read anything again, and what the user is to be told (the
// folder gone or back, a file that could not be read or loaded only in part), for the program to
// show when it suits the user.
struct ИтогСлежения {
  bool прочитано = false;
  std::vector<std::string> сообщения;
};
// The watch, run about once a second while the program runs (and before a check that must see the
// current data): when the stored catalogue changed since this desk read it, reads the changed
// sections again (beside other readers, waiting at most 100 ms for a writer: the next run tries
// again) and tells the subscribers. A folder gone is told once (and once when it is back); a file
// that cannot be read, or loads only in part, as at the opening. Does nothing while a change is
// under way. Errors of the host are tried again at the next run.
ИтогСлежения освежить_каталог();

// A subscriber hears every change done (and a step dropped from the history, and what another desk
// changed: source 0), after it is saved and the stored catalogue is released.
using ПодписчикИзменений = std::function<void(const Изменения&)>;
// Subscribes; the number returned unsubscribes. The core's reset forgets every subscriber.
std::size_t подписаться_на_изменения(ПодписчикИзменений subscriber);
void отписаться_от_изменений(std::size_t subscription);
void забыть_подписчиков();
// A new catalogue opens: the watch has told nothing of its folder yet.
void начать_слежение_заново();
// The change path as a new process finds it: no subscriber, the usual wait, nothing told (the
// core's reset).
void сбросить_путь_изменений();
