// The directive engine behind the package's message texts (see dialog_format.h).
#include "dialog_format.h"

#include <cmath>
#include <cstdio>

namespace dialog_detail {
namespace {

struct Directive {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;  // -1: none given
  char letter = 0;
};

// Literal text from `i` up to the next directive (or the end), "%%" reduced to "%".
void copy_literal(std::string_view fmt, std::size_t& i, std::string& out) {
  while (i < fmt.size()) {
    if (fmt[i] == '%') {
      if (i + 1 < fmt.size() && fmt[i + 1] == '%') {
        out += '%';
        i += 2;
        continue;
      }
      return;
    }
    out += fmt[i++];
  }
}

// Parses the directive after the "%" at `i`; a letter is taken only when `allowed` holds it.
Directive parse(std::string_view fmt, std::size_t& i, std::string_view allowed, char default_letter) {
  Directive d;
  ++i;  // the "%"
  if (i < fmt.size() && fmt[i] == '-') {
    d.left = true;
    ++i;
  }
  if (i < fmt.size() && fmt[i] == '0' && !d.left) d.zero = true;
  while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9' && d.width < 100000) d.width = d.width * 10 + (fmt[i++] - '0');
  while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') ++i;
  if (i + 1 < fmt.size() && fmt[i] == '.' && fmt[i + 1] >= '0' && fmt[i + 1] <= '9') {
    ++i;
    d.precision = 0;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
      if (d.precision < 100000) d.precision = d.precision * 10 + (fmt[i] - '0');
      ++i;
    }
  }
  d.letter = default_letter;
  if (i < fmt.size() && allowed.find(fmt[i]) != std::string_view::npos) d.letter = fmt[i++];
  return d;
}

void pad(std::string& out, const std::string& text, const Directive& d, bool zero_allowed) {
  const std::size_t width = static_cast<std::size_t>(d.width);
  const std::size_t fill = width > text.size() ? width - text.size() : 0;
  if (d.left) {
    out += text;
    out.append(fill, ' ');
  } else {
    out.append(fill, d.zero && zero_allowed ? '0' : ' ');
    out += text;
  }
}

std::string render_int(std::int32_t v, char letter) {
  const auto u = static_cast<std::uint32_t>(v);
  char buf[16];
  switch (letter) {
    case 'u': case 'U': std::snprintf(buf, sizeof buf, "%u", u); break;
    case 'x': case 'X': std::snprintf(buf, sizeof buf, "%X", u); break;
    case 'o': case 'O': std::snprintf(buf, sizeof buf, "%o", u); break;
    case 'c': return std::string(1, static_cast<char>(u & 0xFF));
    default: std::snprintf(buf, sizeof buf, "%d", v); break;
  }
  return buf;
}

std::string render_real(double v, const Directive& d) {
  if (std::isnan(v)) return std::signbit(v) ? "-QNAN" : "+QNAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "+INF";
  const int prec = d.precision < 0 ? 10 : (d.precision > 19 ? 19 : d.precision);
  const char form = d.letter == 'l' ? 'f' : d.letter;
  // "#" keeps the zeros of "G", so that both forms follow the one rule below.
  const char* conversion = form == 'e' ? "%.*E" : form == 'g' ? "%#.*G" : "%.*f";
  const int n = std::snprintf(nullptr, 0, conversion, prec, v);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), conversion, prec, v);
  s.resize(static_cast<std::size_t>(n));
  // Without a given precision the zeros at the end of the fraction go, and then a lone point.
  std::size_t exp = s.find('E');
  std::string mantissa = exp == std::string::npos ? s : s.substr(0, exp);
  const std::string tail = exp == std::string::npos ? "" : s.substr(exp);
  if (mantissa.find('.') != std::string::npos) {
    if (d.precision < 0)
      while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + tail;
}

}  // namespace

std::string format(std::string_view fmt, const std::vector<FormatArg>& args) {
  std::string out;
  std::size_t i = 0;
  copy_literal(fmt, i, out);
  for (const FormatArg& arg : args) {
    if (i >= fmt.size()) break;
    if (const auto* n = std::get_if<std::int32_t>(&arg)) {
      const Directive d = parse(fmt, i, "dDuUxXoOc", 'D');
      pad(out, render_int(*n, d.letter), d, true);
    } else if (const auto* r = std::get_if<double>(&arg)) {
      Directive d = parse(fmt, i, "glef", 'f');
      if ((d.letter == 'f' || d.letter == 'l') && i < fmt.size() && (fmt[i] == 'e' || fmt[i] == 'f' || fmt[i] == 'g'))
        d.letter = fmt[i++];
      pad(out, render_real(*r, d), d, false);
    } else {
      const Directive d = parse(fmt, i, "Xs", 's');
      const std::string& s = std::get<std::string>(arg);
      const std::size_t keep = d.precision >= 0 && static_cast<std::size_t>(d.precision) < s.size()
                                   ? static_cast<std::size_t>(d.precision) : s.size();
      pad(out, s.substr(0, keep), d, true);
    }
    copy_literal(fmt, i, out);
  }
  return out;
}

}  // namespace dialog_detail
