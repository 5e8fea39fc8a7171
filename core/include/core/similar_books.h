// A similar book: a stored book that a new or edited record may well be again — the same author
// and title (letter case, ё and е, blanks around and repeated blanks not told apart) or the same
// ISBN — though it is no exact duplicate (book_fields.h, ключ_повтора). Data entry asks before it
// adds one. The stored books are kept in an index (made again when the catalogue or the details
// changed since), so the check at OK looks up two keys, not every record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/book_record.h"

// A stored book found similar: its code and title.
struct ПохожаяКнига {
  std::int32_t код = 0;
  std::string наименование;
  bool operator==(const ПохожаяКнига&) const = default;
};

// The form author and title are compared in: each in search form, blanks around off and runs of
// blanks made one, kept apart by a byte no text holds. Both empty: empty (no book is similar by
// an empty name).
std::string ключ_названия(std::string_view автор, std::string_view наименование);

// The stored book similar to `record` (by its author and title, or by the ISBN of the details it
// carries, else of its stored ones), other than the book of code `кроме` (the edited one); of
// several, the lowest code. Nothing when none is.
std::optional<ПохожаяКнига> похожая_книга(const ЗаписьБазы& record, std::optional<std::int32_t> кроме = std::nullopt);
