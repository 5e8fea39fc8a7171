// The catalogue model: the three data sections (kinds, categories, catalogue) with their tables,
// the catalogue record and its two lookups, and the display words of a record's two integer
// fields. No window or other state of the run lives here (that is app/session.h); loading and
// saving the sections' files is app/catalogue_files.h.
//
// Each table is a typed fact kind (fact_kind.h) named as the table: `база_лит.facts()` enumerates
// the catalogue in table order, `категории_лит.assertz(...)` adds a category at the back, and so
// on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/fact_kind.h"

// One catalogue record, fields in file order.
struct ЗаписьБазы {
  std::int32_t код = 0;
  std::string автор;
  std::string наименование;
  std::string категория;
  std::string вид;           // one of виды_лит, or empty
  std::int32_t диск = 0;     // 1: a disk comes with the book
  std::int32_t переплет = 0; // 1: hard binding, 0: soft
  std::string обложка;       // cover picture file name, may be empty
  auto fields() { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
  bool operator==(const ЗаписьБазы&) const = default;
};

// The catalogue table with its two lookups.
class ТаблицаБазы : public FactKind<ЗаписьБазы> {
 public:
  using FactKind<ЗаписьБазы>::FactKind;
  // Every record whose code is `код`, in table order.
  std::vector<ЗаписьБазы> по_коду(std::int32_t код) const;
  // The codes of the records whose fields 2 to 8 equal those of `поля` (its code is not looked
  // at; text byte for byte, integers by value), in table order.
  std::vector<std::int32_t> по_содержанию(const ЗаписьБазы& поля) const;
};

// Kinds of literature, loaded at start; saved when an import adds to them.
extern FactSection секция_видов;
extern FactKind<std::string> виды_лит;

// Categories.
extern FactSection секция_категорий;
extern FactKind<std::string> категории_лит;

// The catalogue.
extern FactSection секция_базы;
extern ТаблицаБазы база_лит;

// The display word of a binding: 0 "Мягкий", 1 "Твёрдый"; any other value fails.
std::optional<std::string> вид_переплета(std::int32_t переплет);
// The display word of the disk flag: 0 "Нет", 1 "Есть"; any other value fails.
std::optional<std::string> наличиедиска(std::int32_t диск);

// Empties the three data sections (their state before the start files are loaded).
void очистить_каталог();
