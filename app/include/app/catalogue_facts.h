// The catalogue's fact tables: the five sections (kinds, categories, catalogue, working state,
// card font) with their tables, field types, cardinalities and start values; the special access
// forms of the catalogue and of the working tables; and the display words of the two integer
// fields of a record. Loading and saving the sections' files is catalogue_files.h.
//
// Each table is a typed fact kind (fact_kind.h) named as the table: `база_лит.facts()` enumerates
// the catalogue in table order, `категории_лит.assertz(...)` adds a category at the back,
// `списоккодов.set(...)` replaces the codes list, and so on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "layer/types.h"
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

// Kinds of literature, loaded at start, never saved.
extern FactSection секция_видов;
extern FactKind<std::string> виды_лит;

// Categories.
extern FactSection секция_категорий;
extern FactKind<std::string> категории_лит;

// The catalogue.
extern FactSection секция_базы;
extern ТаблицаБазы база_лит;

// Working state of the run; never written to a file.
extern FactSection секция_состояния;
extern SingleKind<std::vector<std::int32_t>> списоккодов;  // start: [0]
// (list box, line texts, positions) of the literature list window's selection.
extern DetermKind<std::tuple<Window, std::vector<std::string>, std::vector<std::int32_t>>>
    выделенныеэлементыспискапросмотра;
extern ТаблицаРежима устрежимработысбазой;            // start: 2 (entry)
extern SingleKind<std::string> имяфайлаобложки;       // start: ""
extern SingleKind<std::int32_t> счетчикпрерывтаймера; // start: 0
extern ТаблицаОкнаОбложки id_окнаобложки;

// The card font (the layer's 64-byte font block as a binary block), saved, never loaded.
extern FactSection секция_настроек;
extern DetermKind<Binary> шрифткарточки;

// The display word of a binding: 0 "Мягкий", 1 "Твёрдый"; any other value fails.
std::optional<std::string> вид_переплета(std::int32_t переплет);
// The display word of the disk flag: 0 "Нет", 1 "Есть"; any other value fails.
std::optional<std::string> наличиедиска(std::int32_t диск);

// The card font as the settings table holds it, and back (nothing when the stored block is not
// a font block).
Binary шрифт_в_блок(const Font& шрифт);
std::optional<Font> шрифт_из_блока(const Binary& блок);

// Puts the working tables back to their start values.
void сбросить_рабочие_факты();
