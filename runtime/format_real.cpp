// Reals in formatted output (see format_real.h).
#include "format_real.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// Large enough for the longest fixed text: 309 integer digits, a point and 19 decimals.
using RealBuffer = std::array<char, 400>;

std::string_view to_text(RealBuffer& buf, double value, std::chars_format fmt, int precision) {
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, fmt, precision);
  return std::string_view(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
}

// The general form keeping its trailing zeros: `precision` significant digits, fixed notation
// when the decimal exponent of the rounded value lies in -4 .. precision-1.
std::string_view general_text(RealBuffer& buf, double value, int precision) {
  if (precision == 0) precision = 1;
  const std::string_view sci = to_text(buf, value, std::chars_format::scientific, precision - 1);
  // The exponent: "e", a sign, two or three digits (the text is not NUL-terminated).
  const std::size_t e = sci.find('e');
  int exponent = 0;
  std::from_chars(sci.data() + e + 2, sci.data() + sci.size(), exponent);
  if (sci[e + 1] == '-') exponent = -exponent;
  if (exponent < -4 || exponent >= precision) return sci;
  return to_text(buf, value, std::chars_format::fixed, precision - 1 - exponent);
}

}  // namespace

void IO_AppendReal(std::string& out, double value, RealForm form, int precision) {
  if (std::isnan(value)) {
    out += std::signbit(value) ? "-QNAN" : "+QNAN";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-INF" : "+INF";
    return;
  }
  const bool given = precision >= 0;
  const int digits = !given ? 10 : precision > 19 ? 19 : precision;

  RealBuffer buf;
  std::string_view text;
  switch (form) {
    case RealForm::Fixed: text = to_text(buf, value, std::chars_format::fixed, digits); break;
    case RealForm::Exponent: text = to_text(buf, value, std::chars_format::scientific, digits); break;
    case RealForm::General: text = general_text(buf, value, digits); break;
  }

  // Split off the exponent part; the rules on zeros and the point apply to the mantissa only.
  std::string_view exponent;
  if (const std::size_t e = text.find('e'); e != std::string_view::npos) {
    exponent = text.substr(e + 1);
    text = text.substr(0, e);
  }
  if (const std::size_t point = text.find('.'); point != std::string_view::npos) {
    if (!given)
      while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  out += text;
  if (!exponent.empty()) {
    out += 'E';
    out += exponent;
  }
}
