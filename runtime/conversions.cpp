// Text <-> number and character conversions, case conversion and the search form of strings.
#include "runtime/conversions.h"

#include <charconv>
#include <cmath>

#include "char_tables.h"
#include "number_syntax.h"
#include "runtime/run_error.h"

namespace {

bool only_blanks_from(std::string_view text, std::size_t pos) {
  return CONV_SkipBlanks(text, pos) == text.size();
}

// Reads a whole integer text; nothing when the text is not one. `too_large` tells a number of
// the right syntax whose value lies outside the signed 32-bit range.
std::optional<std::int32_t> read_whole_integer(std::string_view text, bool& too_large) {
  too_large = false;
  const IntegerText r = CONV_ReadInteger(text);
  if (r.fault == NumberFault::too_large) {  // the reader stops at once on a magnitude over 32 bits
    too_large = true;
    return std::nullopt;
  }
  if (!r || !only_blanks_from(text, r.pos)) return std::nullopt;
  const std::int64_t v = r.value();
  if (v < INT32_MIN || v > INT32_MAX) {
    too_large = true;
    return std::nullopt;
  }
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::optional<std::int32_t> CONV_s_i_io(std::string_view text) {
  bool too_large = false;
  return read_whole_integer(text, too_large);
}

std::string CONV_s_i_oi(std::int32_t value) { return std::to_string(value); }

bool CONV_s_i_ii(std::string_view text, std::int32_t value) { return CONV_s_i_io(text) == value; }

std::optional<std::int32_t> CONV_s_l_io(std::string_view text) {
  bool too_large = false;
  auto v = read_whole_integer(text, too_large);
  if (too_large) RUN_Error(errcode::kIntOverflow);
  return v;
}

std::string CONV_s_l_oi(std::int32_t value) { return std::to_string(value); }

bool CONV_s_l_ii(std::string_view text, std::int32_t value) { return CONV_s_l_io(text) == value; }

std::optional<double> CONV_s_r_io(std::string_view text) {
  const RealText r = CONV_ReadReal(text);
  if (!r || !only_blanks_from(text, r.pos)) return std::nullopt;
  return r.value;
}

std::string CONV_s_r_oi(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-QNAN" : "+QNAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "+INF";
  // to_chars in the general form with a precision behaves as the C library's "%.10g" in the "C"
  // locale: it already drops trailing zeros and the point, and writes at least two exponent
  // digits; only the exponent letter differs.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 10);
  std::string out(buf, res.ptr);
  for (char& c : out)
    if (c == 'e') c = 'E';
  return out;
}

std::string CONV_s_c_oi(char ch) { return std::string(1, ch); }

std::string CONV_up_low_io(std::string_view upper) {
  std::string out(upper);
  for (char& c : out) c = CONV_ToLower(c);
  return out;
}

std::string CONV_up_low_oi(std::string_view lower) {
  std::string out(lower);
  for (char& c : out) c = CONV_ToUpper(c);
  return out;
}

char CONV_UpLowCh_io(char upper) { return CONV_ToLower(upper); }
char CONV_UpLowCh_oi(char lower) { return CONV_ToUpper(lower); }

void CONV_AppendSearchForm(std::string& out, std::string_view text) {
  const std::size_t at = out.size();
  out.resize(at + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) out[at + i] = CONV_SearchFold(text[i]);
}

std::string CONV_SearchForm(std::string_view text) {
  std::string out;
  CONV_AppendSearchForm(out, text);
  return out;
}
