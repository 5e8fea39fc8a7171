// The catalogue record: one book, its fields in the order of the catalogue file. What each field
// is, how each view shows it and where it is kept is said once, in the field table
// (book_fields.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

// A book's publication details, kept in a section of their own ("Сведения.pbs", one line per
// book that has any: сведения_лит, book_details.h). A book without a line has these defaults:
// year and pages unknown (0), one copy, every text empty.
struct СведенияКниги {
  std::int32_t год = 0;  // the year of publication; 0: unknown
  std::string издательство;
  std::string место;  // the place of publication
  std::string isbn;   // the 13-digit form, or empty
  std::string шифр;   // the library's call number
  std::int32_t экземпляров = 1;
  std::int32_t страниц = 0;  // 0: unknown
  std::string примечание;    // several lines
  bool operator==(const СведенияКниги&) const = default;
  // Whether these are the defaults: such a book has no line of details.
  bool пусто() const { return *this == СведенияКниги{}; }
};

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
  // The details that travel with the record while it is not in the catalogue table: entered in
  // the dialog, read by an import, carried by a change and its step of undo. None for a record
  // read from the table (the file keeps the eight fields above only): its details are the line
  // of сведения_лит under its code (сведения_записи, book_details.h).
  std::optional<СведенияКниги> сведения;
  auto fields() { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
  auto поля_файла() const { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
  // Equal records: the eight fields equal, and the details carried (none counts as the
  // defaults). A record of the table and the same record carrying its stored details differ
  // unless those are the defaults: compare through сведения_записи where that matters.
  bool operator==(const ЗаписьБазы& other) const {
    return поля_файла() == other.поля_файла() && сведения.value_or(СведенияКниги{}) == other.сведения.value_or(СведенияКниги{});
  }
};
