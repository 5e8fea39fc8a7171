// The change path: every change of the catalogue, its categories and its settings is an
// operation value applied by one function, применить. It
//   (a) checks that the operation still applies (the record to edit or delete is still there as
//       the user saw it, found by value; a category to enter is not there yet, …);
//   (b) changes the tables;
//   (c) saves each section it touched once, through the storage seam (catalogue_files.h);
//   (d) records the undo step (undo_history.h), which holds what undoing needs;
//   (e) tells every subscriber what changed, so that open windows update in place.
// A save the host refuses (the disk full, the file read-only, …) puts memory back as it was (and a
// section saved before it is saved again as it was), records no step, tells nobody, and returns
// the message for the caller to show: which file was not written, why and what to do. (The card
// font is the exception: it stays chosen for the run.) An error of the program itself is raised.
//
// Other kinds of change hook in here: another desk's operation applied to fresh data, a server
// that runs each operation as one transaction. A new operation is one more alternative of
// Операция and one more case of применить (and, when it can be undone, one more step of the
// history).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"

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
// The first category equal to `прежняя` removed and `новая` entered at the back. Does not apply
// when `прежняя` is not there.
struct ИзменитьКатегорию {
  std::string прежняя;
  std::string новая;
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
// The last change taken back, or the last change taken back made again. Does not apply when
// there is nothing to undo or redo, or when what the step acts on is gone (the step is then
// dropped from the history and the user is to be told).
struct ОтменитьИзменение {};
struct ПовторитьИзменение {};

using Операция = std::variant<ВвестиЗапись, ИзменитьЗапись, УдалитьЗапись, ВвестиКатегорию, ИзменитьКатегорию,
                              УдалитьКатегорию, ИмпортироватьЗаписи, ЗадатьШрифтКарточки, ОтменитьИзменение,
                              ПовторитьИзменение>;

// Who made a change: the window it was made in, as its own number (0: no window, as an undo or
// redo, which every window shows alike).
using ИсточникИзменения = std::uint64_t;

// What a change did, as the subscribers hear it.
struct Изменения {
  ИсточникИзменения источник = 0;
  std::vector<ЗаписьБазы> убранные;     // records taken out
  std::vector<ЗаписьБазы> добавленные;  // records put in, with the codes they got
  bool категории = false;               // the categories changed
  bool виды = false;                    // the kinds changed
  bool настройки = false;               // the card font changed
  bool история = false;                 // the steps to undo or redo changed
};

// How an operation ended.
struct ИтогИзменения {
  enum class Исход { сделано, не_применимо, не_сохранено };
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
ИтогИзменения применить(const Операция& операция, ИсточникИзменения источник = 0, const ОтчётИзменения& отчёт = {});

// A subscriber hears every change done (and a step dropped from the history), after it is saved.
using ПодписчикИзменений = std::function<void(const Изменения&)>;
// Subscribes; the number returned unsubscribes. The core's reset forgets every subscriber.
std::size_t подписаться_на_изменения(ПодписчикИзменений subscriber);
void отписаться_от_изменений(std::size_t subscription);
void забыть_подписчиков();
