// Run-time conversions between cp1251 byte strings and UTF-8 text over the one code page table.
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

}  // namespace cp1251
