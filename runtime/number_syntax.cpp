// The integer and real readers of the system's number syntax.
#include "number_syntax.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

int digit_value(char c, unsigned base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return (v >= 0 && static_cast<unsigned>(v) < base) ? v : -1;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that a point is the decimal separator whatever locale the process runs in.
locale_t c_locale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

std::size_t CONV_SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  return pos;
}

IntegerText CONV_ReadInteger(std::string_view text, std::size_t pos) {
  IntegerText r;
  pos = CONV_SkipBlanks(text, pos);
  if (pos < text.size() && text[pos] == '-') {
    r.negative = true;
    ++pos;
  }
  unsigned base = 10;
  if (pos + 1 < text.size() && text[pos] == '0') {
    const char p = text[pos + 1];
    if (p == 'x' || p == 'X') base = 16;
    if (p == 'o' || p == 'O') base = 8;
    if (base != 10) pos += 2;
  }
  if (pos >= text.size() || digit_value(text[pos], base) < 0) {
    r.fault = NumberFault::no_digits;
    r.pos = pos;
    return r;
  }
  std::uint64_t value = 0;
  for (int d; pos < text.size() && (d = digit_value(text[pos], base)) >= 0; ++pos) {
    value = value * base + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) {
      r.fault = NumberFault::too_large;
      r.pos = pos;
      return r;
    }
  }
  r.magnitude = static_cast<std::uint32_t>(value);
  r.pos = pos;
  return r;
}

RealText CONV_ReadReal(std::string_view text, std::size_t pos) {
  RealText r;
  const std::size_t start = CONV_SkipBlanks(text, pos);
  r.pos = start;
  std::size_t p = start;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
  std::size_t digits = 0;
  while (p < text.size() && is_digit(text[p])) ++p, ++digits;
  if (p < text.size() && text[p] == '.') {
    ++p;
    while (p < text.size() && is_digit(text[p])) ++p, ++digits;
  }
  if (digits == 0) return r;
  if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
    std::size_t q = p + 1;
    if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
    if (q < text.size() && is_digit(text[q])) {
      while (q < text.size() && is_digit(text[q])) ++q;
      p = q;
    }
  }
  // The span is known to be well formed; strtod_l on a NUL-terminated copy converts it exactly.
  const std::string number(text.substr(start, p - start));
  const double v = strtod_l(number.c_str(), nullptr, c_locale());
  if (std::isinf(v)) return r;
  r.ok = true;
  r.value = v;
  r.pos = p;
  return r;
}
