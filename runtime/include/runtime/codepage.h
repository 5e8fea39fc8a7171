// Code page 1251 and Unicode: the one table of the system, and the "…"_cp literal that turns
// the program's UTF-8 source texts into code page 1251 bytes at compile time.
// Invariant: every byte maps to exactly one code point and back; the undefined byte 0x98 maps to
// U+0098 so that no byte of a user's data is lost on its way through the windowing layer.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cp1251 {

// Unicode code point of each cp1251 byte.
inline constexpr std::array<char16_t, 256> kToUnicode = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The one byte that code page 1251 leaves undefined.
inline constexpr std::uint8_t kUndefinedByte = 0x98;

constexpr bool is_defined(std::uint8_t byte) { return byte != kUndefinedByte; }

constexpr char32_t to_unicode(std::uint8_t byte) { return kToUnicode[byte]; }

// The cp1251 byte of a code point, or nothing when the code page has no form for it.
constexpr std::optional<std::uint8_t> from_unicode(char32_t cp) {
  if (cp < 0x80) return static_cast<std::uint8_t>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<std::uint8_t>(cp - 0x0410 + 0xC0);
  for (int b = 0x80; b < 0xC0; ++b)
    if (kToUnicode[static_cast<std::size_t>(b)] == cp) return static_cast<std::uint8_t>(b);
  return std::nullopt;
}

// cp1251 bytes -> UTF-8 text.
std::string to_utf8(std::string_view cp);
// UTF-8 text -> cp1251 bytes; a character without a cp1251 form (or a malformed sequence)
// becomes `replacement`.
std::string from_utf8(std::string_view utf8, char replacement = '?');
// UTF-8 text -> cp1251 bytes, refusing instead of replacing: nothing when the text is not
// well-formed UTF-8 (is_utf8) or holds a character without a cp1251 form; `refused`, when given,
// then receives that character (U+FFFD for a malformed sequence).
std::optional<std::string> from_utf8_exact(std::string_view utf8, char32_t* refused = nullptr);
// Whether the bytes are well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool is_utf8(std::string_view bytes);

namespace detail {

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input yields U+FFFD.
constexpr char32_t next_code_point(const char* s, std::size_t n, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = (b0 >= 0xF0) ? 3 : (b0 >= 0xE0) ? 2 : (b0 >= 0xC0) ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= n) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

// Not constexpr on purpose: reaching it while a literal is encoded stops the compilation.
inline void character_has_no_cp1251_form() {}

template <std::size_t N>
struct fixed_utf8 {
  char data[N]{};
  constexpr fixed_utf8(const char (&s)[N]) { std::copy_n(s, N, data); }
  constexpr std::size_t size() const { return N - 1; }  // without the terminating NUL
};

template <std::size_t N>
constexpr std::size_t encoded_length(const fixed_utf8<N>& s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size();) {
    next_code_point(s.data, s.size(), i);
    ++count;
  }
  return count;
}

template <fixed_utf8 S>
struct encoded_literal {
  static constexpr std::size_t length = encoded_length(S);
  static constexpr std::array<char, length + 1> bytes = [] {
    std::array<char, length + 1> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i < S.size();) {
      const char32_t cp = next_code_point(S.data, S.size(), i);
      const auto b = from_unicode(cp);
      if (!b || cp == 0xFFFD) character_has_no_cp1251_form();
      out[o++] = static_cast<char>(*b);
    }
    out[o] = '\0';
    return out;
  }();
};

}  // namespace detail
}  // namespace cp1251

// "Фолиарх"_cp: the cp1251 bytes of a UTF-8 source literal, NUL-terminated static storage.
template <cp1251::detail::fixed_utf8 S>
constexpr std::string_view operator""_cp() {
  using E = cp1251::detail::encoded_literal<S>;
  return std::string_view(E::bytes.data(), E::length);
}

// "Текст"_cps: the same bytes as a new std::string. Prefer it wherever a std::string is declared
// from a literal: clang 14 crashes on a declaration whose initialiser constructs a std::string
// from a _cp literal (`std::string s("…"_cp);`, `auto s = std::string("…"_cp);`).
template <cp1251::detail::fixed_utf8 S>
std::string operator""_cps() {
  using E = cp1251::detail::encoded_literal<S>;
  return std::string(E::bytes.data(), E::length);
}
