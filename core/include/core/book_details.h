// A book's publication details: their section (сведения_лит, "Сведения.pbs"), what is stored of
// them by the book's code (an index by code that follows every change of the section), a record's details whether it carries them or not, the copies lending counts,
// and the checks of what the user types for each detail (pure functions: the data-entry dialog
// shows their refusals, naming the field).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/book_record.h"
#include "runtime/fact_kind.h"

// A book's publication details as their section keeps them: the book's code, then the details
// (book_record.h) in the order of the line
// сведения_лит(Код, Год, "Издательство", "Место", "ISBN", "Шифр", Экземпляров, Страниц, "Примечание").
struct СведенияЛит {
  std::int32_t код = 0;
  СведенияКниги сведения;
  auto fields() {
    СведенияКниги& с = сведения;
    return std::tie(код, с.год, с.издательство, с.место, с.isbn, с.шифр, с.экземпляров, с.страниц, с.примечание);
  }
  bool operator==(const СведенияЛит&) const = default;
};

// The details of the books that have any, one line each ("Сведения.pbs"; a catalogue made before
// it has no file and opens with none; the section list, catalogue_files.h, names it). Read
// through the functions below, which keep them by code.
extern FactSection секция_сведений;
extern FactKind<СведенияЛит> сведения_лит;

// The stored details of the book of code `код`: its line of сведения_лит (the first in table
// order when a hand-edited file has two), else the defaults.
СведенияКниги сведения_книги(std::int32_t код);
// Whether the book of code `код` has a line of details.
bool есть_сведения(std::int32_t код);
// A record's details: those it carries, else the stored ones of its code.
СведенияКниги сведения_записи(const ЗаписьБазы& record);
// One detail of a record, as сведения_записи would give it, without copying the others. A text
// is a view valid until the record or the section of details changes.
std::string_view текст_сведений(const ЗаписьБазы& record, std::string СведенияКниги::*member);
std::int32_t число_сведений(const ЗаписьБазы& record, std::int32_t СведенияКниги::*member);
// The record carrying its details (the stored ones when it carried none).
ЗаписьБазы с_сведениями(ЗаписьБазы record);

// The number of copies of the book of code `код` the library has, for lending: the stored count,
// 1 for a book without details (and for a count below 1 in a hand-edited file: a book in the
// catalogue is there at least once).
std::int32_t экземпляров_книги(std::int32_t код);

// ---- What the user types ----

// The details in the order of their line, for the messages and the dialog's controls.
enum class ПолеСведений { год, издательство, место, isbn, шифр, экземпляров, страниц, примечание };
// The caption of a detail: "Год издания", "Издательство", "Место издания", "ISBN", "Шифр",
// "Экземпляров", "Страниц", "Примечание" (cp1251).
std::string_view название_сведения(ПолеСведений поле);

// The year typed: empty (blanks only) is unknown (0); else four digits from 1450 to
// `текущий_год` + 1. Nothing for anything else.
std::optional<std::int32_t> год_издания(std::string_view typed, int текущий_год);
// An ISBN typed: 10 or 13 digits (in an ISBN-10 the check digit may be X), hyphens and blanks
// between them and a leading "ISBN" allowed, the check digit verified; the 13-digit form it is
// stored in (an ISBN-10 converted: 978, its first nine digits, the new check digit). Empty for
// nothing typed; nothing for what is no valid ISBN.
std::optional<std::string> isbn_для_хранения(std::string_view typed);
// The copies typed: empty is 1; else a whole number from 1 to 999.
std::optional<std::int32_t> число_экземпляров(std::string_view typed);
// The pages typed: empty is unknown (0); else a whole number from 0 up.
std::optional<std::int32_t> число_страниц(std::string_view typed);

// The details as typed in the dialog's fields (cp1251).
struct ВведённыеСведения {
  std::string год, издательство, место, isbn, шифр, экземпляров, страниц, примечание;
};
// Why the typed details are refused: the field (the first refused, in the line's order) and the
// message that names it and says what it takes.
struct ОтказСведений {
  ПолеСведений поле;
  std::string сообщение;
};
std::variant<СведенияКниги, ОтказСведений> разобрать_сведения(const ВведённыеСведения& typed, int текущий_год);
// The stored details as the dialog's fields show them (unknown year and pages empty).
ВведённыеСведения показ_сведений(const СведенияКниги& details);
