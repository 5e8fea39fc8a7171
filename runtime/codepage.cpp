// Run-time conversions between cp1251 byte strings and UTF-8 text over the one code page table,
// lenient (a replacement byte) or exact (refusing), and the check for well-formed UTF-8.
#include "runtime/codepage.h"

namespace cp1251 {

std::string to_utf8(std::string_view cp) {
  std::string out;
  out.reserve(cp.size() * 2);
  for (const char c : cp) {
    const char32_t u = to_unicode(static_cast<std::uint8_t>(c));
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

std::string from_utf8(std::string_view utf8, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = detail::next_code_point(utf8.data(), utf8.size(), i);
    const auto b = (cp == 0xFFFD) ? std::nullopt : from_unicode(cp);
    out.push_back(b ? static_cast<char>(*b) : replacement);
  }
  return out;
}

namespace {

// Decodes one well-formed UTF-8 sequence at s[i] and advances i past it; nothing (i unchanged)
// for a malformed one.
std::optional<char32_t> strict_code_point(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  const int extra = (b0 >= 0xC2 && b0 <= 0xDF) ? 1 : (b0 >= 0xE0 && b0 <= 0xEF) ? 2 : (b0 >= 0xF0 && b0 <= 0xF4) ? 3 : 0;
  if (extra == 0 || s.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
  char32_t cp = b0 & (0x7F >> (extra + 1));
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

}  // namespace

std::optional<std::string> from_utf8_exact(std::string_view utf8, char32_t* refused) {
  // Written in place: a cp1251 text is never longer than its UTF-8 form.
  std::string out(utf8.size(), '\0');
  char* o = out.data();
  for (std::size_t i = 0; i < utf8.size();) {
    if (const auto c = static_cast<unsigned char>(utf8[i]); c < 0x80) {  // most of a table is ASCII
      *o++ = static_cast<char>(c);
      ++i;
      continue;
    }
    const auto cp = strict_code_point(utf8, i);
    const auto b = cp ? from_unicode(*cp) : std::nullopt;
    if (!b) {
      if (refused) *refused = cp ? *cp : 0xFFFD;
      return std::nullopt;
    }
    *o++ = static_cast<char>(*b);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

bool is_utf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();)
    if (!strict_code_point(bytes, i)) return false;
  return true;
}

}  // namespace cp1251
