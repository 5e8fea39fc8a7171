// The catalogue model: the data sections (kinds, categories, catalogue, the card font setting)
// with their tables, and the catalogue's two lookups. The record is book_record.h, its fields
// and their display words the field table (book_fields.h); the section list and the files of the
// sections are catalogue_files.h. No window or other state of the run lives here.
//
// Each table is a typed fact kind (fact_kind.h) named as the table: `база_лит.facts()` enumerates
// the catalogue in table order, `категории_лит.assertz(...)` adds a category at the back, and so
// on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/book_details.h"
#include "core/book_fields.h"
#include "core/book_record.h"
#include "core/lending_records.h"
#include "runtime/fact_kind.h"

// The catalogue table with its two lookups.
class ТаблицаБазы : public FactKind<ЗаписьБазы> {
 public:
  using FactKind<ЗаписьБазы>::FactKind;
  // Every record whose code is `код`, in table order.
  std::vector<ЗаписьБазы> по_коду(std::int32_t код) const;
  // The codes of the records that are the same book as `поля` by the duplicate rule
  // (ключ_повтора: fields 2 to 8, text byte for byte, integers by value; the code is not looked
  // at), in table order.
  std::vector<std::int32_t> по_содержанию(const ЗаписьБазы& поля) const;
};

// The whole value of a record as one key: its code, then the duplicate key (ключ_повтора), which
// holds every other field. Two records are equal exactly when their keys are.
std::string ключ_записи(const ЗаписьБазы& з);

// Kinds of literature, loaded at start; saved when an import adds to them.
extern FactSection секция_видов;
extern FactKind<std::string> виды_лит;

// Categories.
extern FactSection секция_категорий;
extern FactKind<std::string> категории_лит;

// The catalogue.
extern FactSection секция_базы;
extern ТаблицаБазы база_лит;

// The books' publication details (сведения_лит, "Сведения.pbs"): with their index by code, in
// book_details.h.

// The card font (the layer's 64-byte font block as a binary block), saved, never loaded.
extern FactSection секция_настроек;
extern DetermKind<Binary> шрифткарточки;

// The highest code ever given to a record of the catalogue (none: no code given since the file
// came; the codes of the records then count alone). Kept in a file of its own so that a code
// freed by a deletion is never given to another book and the catalogue's own file keeps its form.
extern FactSection секция_кодов_каталога;
extern DetermKind<std::int32_t> наибольший_код;

// The readers of the library ("Читатели.pbs"), in the order they were entered.
extern FactSection секция_читателей;
extern FactKind<Читатель> читатель_лит;

// The highest code ever given to a reader ("КодыЧитателей.pbs"), so that a deleted reader's code,
// which the loans of the history still name, is never given to another.
extern FactSection секция_кодов_читателей;
extern DetermKind<std::int32_t> наибольший_код_читателя;

// The loans ("Выдачи.pbs"): every book issued, in the order of issue, the returned ones kept as
// the history.
extern FactSection секция_выдач;
extern FactKind<Выдача> выдача_лит;

// The loan period in days, when the user set one (lending.h: срок_выдачи).
extern FactSection секция_срока_выдачи;
extern DetermKind<std::int32_t> срок_выдачи_дней;

// Empties the data sections (their state before the start files are loaded).
void очистить_каталог();
