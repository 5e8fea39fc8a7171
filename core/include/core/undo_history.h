// The history of this run's changes to the catalogue and the categories: the steps to undo and
// to redo. Each step holds the values its change removed and added and the place of what it
// removed: enough to take the change back and to make it again (the change path does both,
// change_path.h). Steps find their records and categories by value, never by a position in a
// list, so a step still acts on exactly its own record when other records have changed since.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"

// The most steps kept to undo; the oldest go first.
inline constexpr std::size_t глубина_истории = 1000;

// A record entered: it stands first in the catalogue.
struct ВводЗаписи {
  ЗаписьБазы запись;
};
// A record replaced by its edited form at its place `место`, with its code.
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
// A category renamed: the old name stood at `место`, the new one stands last. `записи` are the
// records that followed it, as they were (with the old name); now they have the new one.
struct ПравкаКатегории {
  std::string старая;
  std::size_t место = 0;
  std::string новая;
  std::vector<ЗаписьБазы> записи;
};
// A category deleted from `место`.
struct УдалениеКатегории {
  std::string категория;
  std::size_t место = 0;
};
// An import: its records were put at the front one after another (the last of them stands
// first), its categories and kinds at the back, in their order. `источник` names the file read
// (may be empty).
struct ИмпортЗаписей {
  std::vector<ЗаписьБазы> записи;
  std::vector<std::string> категории;
  std::vector<std::string> виды;
  std::string источник;
};
// A reader entered: it stands last, with the code it got.
struct ВводЧитателя {
  Читатель читатель;
};
// A reader's card changed at its place `место`, the code kept.
struct ПравкаЧитателя {
  Читатель старый;
  std::size_t место = 0;
  Читатель новый;
};
// A reader deleted from `место`.
struct УдалениеЧитателя {
  Читатель читатель;
  std::size_t место = 0;
};
// A book issued: the loan stands last.
struct ВыдачаКниги {
  Выдача выдача;
};
// A book returned: the loan at `место` got its return date.
struct ВозвратКниги {
  Выдача прежняя;
  std::size_t место = 0;
  Выдача новая;
};
using ШагИстории = std::variant<ВводЗаписи, ПравкаЗаписи, УдалениеЗаписи, ВводКатегории, ПравкаКатегории,
                                УдалениеКатегории, ИмпортЗаписей, ВводЧитателя, ПравкаЧитателя, УдалениеЧитателя,
                                ВыдачаКниги, ВозвратКниги>;

// The steps of the run.
struct ИсторияИзменений {
  std::vector<ШагИстории> отмена;  // the last change last
  std::vector<ШагИстории> повтор;  // the next to redo last
};
ИсторияИзменений& история_изменений();

// A change just made becomes the step to undo, and the steps to redo go. The change path's own.
void запомнить_изменение(ШагИстории шаг);
// Forgets every step: for the opening of another catalogue.
void забыть_историю();

// What a step is about, in the words of the help line: "удаление записи 1234",
// "ввод категории «Поэзия»", "импорт из «книги.csv»".
std::string описание_шага(const ШагИстории& шаг);
// What the next undo or redo would do; empty when there is nothing to undo or redo.
std::string что_отменить();
std::string что_повторить();

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
