// Character classes and case tables of code page 1251, derived at compile time from the code
// page table (never from the host's locale), so Cyrillic letters classify and convert the same
// on every host. Invariant: a byte that has no case partner in the code page maps to itself.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/codepage.h"

// The class of a byte.
enum class CharClass : std::uint8_t {
  digit = 0,     // "0" to "9"
  lower = 1,     // lower-case letters, Cyrillic included
  upper = 2,     // upper-case letters
  punct = 3,     // ! " $ % ' ( ) * + , - . / : ; < = > [ ] _ | ~
  nul = 4,       // the NUL byte
  other = 5,     // every other byte
  line_end = 6,  // 10, 11, 12, 13 and 26
  blank = 7,     // blank and tab
};

namespace chartab_detail {

constexpr bool is_lower_cp(char32_t u) {
  return (u >= U'a' && u <= U'z') || (u >= 0x0430 && u <= 0x045F) || u == 0x0491 || u == 0x00B5;
}
constexpr bool is_upper_cp(char32_t u) {
  return (u >= U'A' && u <= U'Z') || (u >= 0x0400 && u <= 0x042F) || u == 0x0490;
}
constexpr char32_t upper_of(char32_t u) {
  if (u >= U'a' && u <= U'z') return u - 0x20;
  if (u >= 0x0430 && u <= 0x044F) return u - 0x20;
  if (u >= 0x0450 && u <= 0x045F) return u - 0x50;
  if (u == 0x0491) return 0x0490;
  return u;
}
constexpr char32_t lower_of(char32_t u) {
  if (u >= U'A' && u <= U'Z') return u + 0x20;
  if (u >= 0x0410 && u <= 0x042F) return u + 0x20;
  if (u >= 0x0400 && u <= 0x040F) return u + 0x50;
  if (u == 0x0490) return 0x0491;
  return u;
}

constexpr CharClass class_of(std::uint8_t b) {
  if (b == 0) return CharClass::nul;
  if (b >= '0' && b <= '9') return CharClass::digit;
  if (b == ' ' || b == '\t') return CharClass::blank;
  if (b == 10 || b == 11 || b == 12 || b == 13 || b == 26) return CharClass::line_end;
  for (const char p : std::string_view("!\"$%'()*+,-./:;<=>[]_|~"))
    if (static_cast<std::uint8_t>(p) == b) return CharClass::punct;
  const char32_t u = cp1251::to_unicode(b);
  if (is_lower_cp(u)) return CharClass::lower;
  if (is_upper_cp(u)) return CharClass::upper;
  return CharClass::other;
}

template <char32_t (*Map)(char32_t)>
constexpr std::array<char, 256> make_case_table() {
  std::array<char, 256> t{};
  for (int b = 0; b < 256; ++b) {
    const auto mapped = cp1251::from_unicode(Map(cp1251::to_unicode(static_cast<std::uint8_t>(b))));
    t[static_cast<std::size_t>(b)] = static_cast<char>(mapped ? *mapped : b);
  }
  return t;
}

constexpr std::array<CharClass, 256> make_class_table() {
  std::array<CharClass, 256> t{};
  for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = class_of(static_cast<std::uint8_t>(b));
  return t;
}

}  // namespace chartab_detail

inline constexpr std::array<CharClass, 256> kCharClassTable = chartab_detail::make_class_table();
inline constexpr std::array<char, 256> kUpperCaseTable =
    chartab_detail::make_case_table<chartab_detail::upper_of>();
inline constexpr std::array<char, 256> kLowerCaseTable =
    chartab_detail::make_case_table<chartab_detail::lower_of>();

// The search table: a letter's lower-case form, with "ё" and "Ё" both as "е", every other byte
// itself. Two texts that differ only in letter case or in ё and е agree byte for byte after it.
inline constexpr std::array<char, 256> kSearchFoldTable = [] {
  std::array<char, 256> t = kLowerCaseTable;
  const char е = static_cast<char>(*cp1251::from_unicode(0x0435));
  t[*cp1251::from_unicode(0x0401)] = е;  // Ё
  t[*cp1251::from_unicode(0x0451)] = е;  // ё
  return t;
}();

constexpr CharClass CONV_CharClass(char c) { return kCharClassTable[static_cast<std::uint8_t>(c)]; }
constexpr char CONV_ToUpper(char c) { return kUpperCaseTable[static_cast<std::uint8_t>(c)]; }
constexpr char CONV_ToLower(char c) { return kLowerCaseTable[static_cast<std::uint8_t>(c)]; }
constexpr char CONV_SearchFold(char c) { return kSearchFoldTable[static_cast<std::uint8_t>(c)]; }
