// The layout of a stored record: one contiguous block that holds the record and, behind it,
// every text, byte block, list and sub-record it refers to. Every reference inside the block is
// an offset from the block's start, so the block can be copied or moved as plain bytes.
//
//   block     = header (8 bytes: kind number 1-based, then zeros) + one 8-byte slot per field
//               + the tail
//   slot      = an integral value or char as a 64-bit integer | a real as its 64-bit pattern |
//               text, symbol, binary: (offset, length) of its bytes in the tail (text with a NUL
//               behind it) | list: (offset, count) of an array of element slots in the tail |
//               compound: (offset of its field slots in the tail, or 0 without fields; functor)
//   (offset, length) pairs are two 32-bit words, offset first. Slot arrays start 8-aligned and
//   the gaps before them hold zeros, so every byte of a block is defined.
//
// The encoder runs twice over the same code: once to measure (no block) and once to write, so
// the size it reserves is the size it fills. The term codec checks a term against its type while
// measuring, before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/value_term.h"
#include "runtime/value_type.h"

namespace fact_record {

inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kSlotSize = 8;

inline std::size_t align8(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

inline void put_int(std::byte* slot, std::int64_t v) { std::memcpy(slot, &v, 8); }
inline std::int64_t get_int(const std::byte* slot) {
  std::int64_t v;
  std::memcpy(&v, slot, 8);
  return v;
}
inline void put_real(std::byte* slot, double v) { std::memcpy(slot, &v, 8); }
inline double get_real(const std::byte* slot) {
  double v;
  std::memcpy(&v, slot, 8);
  return v;
}
inline void put_ref(std::byte* slot, std::size_t offset, std::size_t count) {
  const std::uint32_t w[2] = {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(count)};
  std::memcpy(slot, w, 8);
}
inline std::uint32_t ref_offset(const std::byte* slot) {
  std::uint32_t v;
  std::memcpy(&v, slot, 4);
  return v;
}
inline std::uint32_t ref_count(const std::byte* slot) {
  std::uint32_t v;
  std::memcpy(&v, slot + 4, 4);
  return v;
}

// Copies stored text into `out`, reusing its capacity (append is the cheapest copy the string
// offers once the capacity is there).
inline void copy_text(const std::byte* block, const std::byte* slot, std::string& out) {
  out.clear();
  out.append(reinterpret_cast<const char*>(block + ref_offset(slot)), ref_count(slot));
}

inline std::uint8_t kind_number(const std::byte* block) { return static_cast<std::uint8_t>(block[0]); }
inline void put_header(std::byte* block, std::size_t kind_index) {
  std::memset(block, 0, kHeaderSize);
  block[0] = static_cast<std::byte>(kind_index + 1);
}

// The size of the block for a record of `types` holding `values`. Raises 1000 when a value does
// not fit its type's form and 1031 when an integer lies outside its type's range.
std::size_t measure(const std::vector<const TypeDesc*>& types, const Term::List& values);
// Writes the record into `block` of the `size` that `measure` gave.
void write(std::byte* block, std::size_t size, std::size_t kind_index, const std::vector<const TypeDesc*>& types,
           const Term::List& values);
// Copies the fields of a stored record into `out`, reusing its storage (RNT_CopyTermToGStack for
// a whole record).
void read(const std::byte* block, const std::vector<const TypeDesc*>& types, Term::List& out);
// Whether a stored record matches a pattern: unbound terms match anything, text compares byte
// for byte, integers by value, reals by value.
bool match(const std::byte* block, const std::vector<const TypeDesc*>& types, const Term::List& pattern);

// One value alone, as the findall collector keeps it: a block of one slot and its tail.
std::size_t measure_value(const TypeDesc& type, const Term& value);
void write_value(std::byte* block, std::size_t size, const TypeDesc& type, const Term& value);
void read_value(const std::byte* block, const TypeDesc& type, Term& out);

}  // namespace fact_record

// A copy of the stored text in `slot` of `block`, owned by the caller.
std::string RNT_CopyStrToGStack(const std::byte* block, const std::byte* slot);
// A deep copy of the stored value of `type` in `slot` of `block`, into the caller's `out`.
void RNT_CopyTermToGStack(const TypeDesc& type, const std::byte* block, const std::byte* slot, Term& out);
