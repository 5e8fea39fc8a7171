// The history of this run's changes to the catalogue and the categories, and undoing and redoing
// them. Each step holds the values its change removed and added and the place of what it
// removed: enough to take the change back and to make it again. The steps find their records and
// categories by value, never by a position in a list, so a step still acts on exactly its own
// record when other records have changed since. Undoing or redoing saves the changed file at
// once, as every change does; a save that fails leaves memory and file as they were.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "catalogue/catalogue_facts.h"

// The most steps kept to undo; the oldest go first.
inline constexpr std::size_t глубина_истории = 1000;

// A record entered: it stands first in the catalogue.
struct ВводЗаписи {
  ЗаписьБазы запись;
};
// A record replaced by its edited form: the old one stood at `место`, the new one stands first.
struct ПравкаЗаписи {
  ЗаписьБазы старая;
  std::size_t место = 0;
  ЗаписьБазы новая;
};
// A record deleted from `место`.
struct УдалениеЗаписи {
  ЗаписьБазы запись;
  std::size_t место = 0;
};
// A category entered: it stands last.
struct ВводКатегории {
  std::string категория;
};
// A category renamed: the old name stood at `место`, the new one stands last.
struct ПравкаКатегории {
  std::string старая;
  std::size_t место = 0;
  std::string новая;
};
// A category deleted from `место`.
struct УдалениеКатегории {
  std::string категория;
  std::size_t место = 0;
};
using ШагИстории =
    std::variant<ВводЗаписи, ПравкаЗаписи, УдалениеЗаписи, ВводКатегории, ПравкаКатегории, УдалениеКатегории>;

// The steps of the run, kept in the session.
struct ИсторияИзменений {
  std::vector<ШагИстории> отмена;  // the last change last
  std::vector<ШагИстории> повтор;  // the next to redo last
};

// Removes the first fact of `table` that satisfies `pred` and hands it out with its position:
// what a change that removes something tells the history. Nothing when no fact satisfies it.
template <class T, class Pred>
std::optional<std::pair<T, std::size_t>> изъять(FactKind<T>& table, Pred pred) {
  std::size_t место = 0;
  std::optional<T> found = table.take_first([&](const T& fact) {
    if (pred(fact)) return true;
    ++место;
    return false;
  });
  if (!found) return std::nullopt;
  return std::pair<T, std::size_t>(std::move(*found), место);
}

// Records a change just made in memory: it becomes the step to undo, and the steps to redo go.
// One call at each place that changes the catalogue or the categories.
void запомнить_изменение(ШагИстории шаг);
// Saves the file of a change just made in memory (the catalogue's or the categories', by the
// step's kind) and records the change as запомнить_изменение does; true then. When the file cannot
// be written the user is told which, why and what to do (catalogue_files.h), the change is taken
// back in memory as its undo would take it back, nothing is recorded and the answer is false; the
// open windows are the caller's to put back.
bool сохранить_изменение(ШагИстории шаг);
// Forgets every step: for the opening of another catalogue.
void забыть_историю();

// What the next undo or redo would do, in the words of the help line ("удаление записи 1234");
// empty when there is nothing to undo or redo.
std::string что_отменить();
std::string что_повторить();

// Takes back the last change, or makes again the last change taken back, and saves its file.
// False when there is nothing to do, or when it cannot be done: its record or category is no
// longer there (the step is dropped), or the save fails (memory and file stay as they were and
// the step stays); the user is told why.
bool отменить_изменение();
bool повторить_изменение();

// The toolbar's Undo and Redo buttons: greyed while there is nothing to undo or redo, their
// help line saying what they would do.
void показать_историю();
