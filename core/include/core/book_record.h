// The catalogue record: one book, its fields in the order of the catalogue file. What each field
// is, how each view shows it and where it is kept is said once, in the field table
// (book_fields.h).
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

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
