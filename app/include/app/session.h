// The session: what the run of the catalogue program knows besides the catalogue model. Its
// working tables (never written to a file): the codes list, the list window's selection, the
// data-entry mode, the cover file and the registered cover window, the data-saved note's timer
// ticks. The card font setting (saved, never loaded). And the run's own bookkeeping: what it
// knows about its start files, the list windows open and their find filters, the cover files
// that failed to load.
//
// The program's one reset entry (the model emptied, the session at its start) is registered
// with the runtime by зарегистрировать_состояние_программы; RUN_ResetParts (run.h) runs it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/undo_history.h"
#include "app/list_filter.h"
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

// Working tables of the run.
extern FactSection секция_состояния;
extern SingleKind<std::vector<std::int32_t>> списоккодов;  // start: [0]
extern DetermKind<ВыбранныеСтроки> выделенныеэлементыспискапросмотра;
extern ТаблицаРежима устрежимработысбазой;            // start: 2 (entry)
extern SingleKind<std::string> имяфайлаобложки;       // start: ""
extern SingleKind<std::int32_t> счетчикпрерывтаймера; // start: 0
extern ТаблицаОкнаОбложки id_окнаобложки;

// The card font (the layer's 64-byte font block as a binary block), saved, never loaded.
extern FactSection секция_настроек;
extern DetermKind<Binary> шрифткарточки;

// The card font as the settings table holds it, and back (nothing when the stored block is not
// a font block).
Binary шрифт_в_блок(const Font& шрифт);
std::optional<Font> шрифт_из_блока(const Binary& блок);

// What the run knows about a start file that is also saved (the kinds, the categories and the
// catalogue).
struct StartFileState {
  bool holds_memory = false;  // loaded completely, or written by this run: saving loses nothing
  std::string kept_copy;      // the copy made before the first save, once made
  bool told_no_copy = false;  // the user knows that the copy cannot be made, so nothing is saved
};

// The start of a run from the command line: the catalogue folder it named (a host path, made
// absolute), or none.
struct ЗапускПрограммы {
  std::string папка;
};

// The run's bookkeeping besides its tables.
struct Сеанс {
  // The start the command line asked for, noted by the process entry before the run; unset in a
  // run that did not come from the command line (the program's tests), which works on the
  // current directory as it finds it (first_start.h).
  std::optional<ЗапускПрограммы> запуск;
  StartFileState файл_видов;
  StartFileState файл_категорий;
  StartFileState файл_базы;
  // The list windows open now, in opening order: the task window's toolbars come back when the
  // last one closes.
  std::vector<Window> окна_просмотра;
  // The changes of the run that can be undone and redone.
  ИсторияИзменений история;
  // The help topics of the dialogs running now, the innermost last (F1 opens the last).
  std::vector<int> темы_справки;
  // The find filter of each list window open, and the count of filter changes that orders them.
  std::map<Window, ПоискСписка> поиск_списков;
  std::uint64_t изменений_поиска = 0;
};
Сеанс& сеанс();

// Puts the working tables back to their start values.
void сбросить_рабочие_факты();

// Registers the program's part (the catalogue model and the session), and the packages', the
// layer's and the runtime's under it, with the runtime; later calls change nothing.
void зарегистрировать_состояние_программы();
