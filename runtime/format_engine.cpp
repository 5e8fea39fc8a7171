// The directive engine of formatted output (see format_engine.h).
#include "format_engine.h"

#include <charconv>
#include <climits>
#include <new>
#include <stdexcept>

#include "format_real.h"
#include "run_error.h"

namespace {

constexpr std::string_view kIntegerLetters = "dDuUxXoOc";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads decimal digits at `pos`, saturating at INT_MAX.
int read_number(std::string_view fmt, std::size_t& pos) {
  long long n = 0;
  while (pos < fmt.size() && is_digit(fmt[pos])) {
    n = n * 10 + (fmt[pos] - '0');
    if (n > INT_MAX) n = INT_MAX;
    ++pos;
  }
  return static_cast<int>(n);
}

// Appends `text` to `out` in a field of the directive's width (never cutting it).
void append_field(std::string& out, const FmtDirective& d, std::string_view text) {
  const std::size_t width = static_cast<std::size_t>(d.width);
  const std::size_t pad = width > text.size() ? width - text.size() : 0;
  if (d.left) {
    out += text;
    out.append(pad, ' ');
  } else {
    out.append(pad, d.zero_pad ? '0' : ' ');
    out += text;
  }
}

// The text of an integral value under an integer letter or "c"; all work on the 32-bit value.
std::string_view integer_text(char (&buf)[16], char letter, std::int64_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  char* const end = buf + sizeof buf;
  std::to_chars_result res{};
  switch (letter) {
    case 'd':
    case 'D': res = std::to_chars(buf, end, static_cast<std::int32_t>(bits)); break;
    case 'u':
    case 'U': res = std::to_chars(buf, end, bits); break;
    case 'o':
    case 'O': res = std::to_chars(buf, end, bits, 8); break;
    case 'x':
    case 'X':
      res = std::to_chars(buf, end, bits, 16);
      for (char* p = buf; p != res.ptr; ++p)
        if (*p >= 'a') *p = static_cast<char>(*p - 'a' + 'A');
      break;
    default:  // 'c': the low byte
      buf[0] = static_cast<char>(bits & 0xFF);
      return std::string_view(buf, 1);
  }
  return std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
}

// Two upper-case hexadecimal digits per byte.
std::string hex_bytes(std::string_view bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 0xF];
  }
  return out;
}

}  // namespace

FmtArg::FmtArg(const TypeDesc& type, const Term& value) : type_(type.code) {
  switch (type.code) {
    case TypeCode::Real: real_ = value.as_real(); break;
    case TypeCode::String:
    case TypeCode::Symbol: text_ = value.as_string(); break;
    case TypeCode::Binary: {
      const auto& bytes = value.as_binary().bytes;
      text_ = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      break;
    }
    case TypeCode::List:
    case TypeCode::Compound: RUN_ErrorExit();
    default: int_ = value.as_int(); break;
  }
}

FmtArg FmtArg::integral(TypeCode type, std::int64_t v) {
  FmtArg a;
  a.type_ = type;
  a.int_ = v;
  return a;
}

FmtDirective IO_ParseDirective(std::string_view fmt, std::size_t pos) {
  FmtDirective d;
  ++pos;  // the "%"
  if (pos < fmt.size() && fmt[pos] == '-') {
    d.left = true;
    ++pos;
  }
  if (pos < fmt.size() && is_digit(fmt[pos])) {
    d.zero_pad = fmt[pos] == '0' && !d.left;
    d.width = read_number(fmt, pos);
  }
  // A point belongs to the directive only when a digit follows it.
  if (pos + 1 < fmt.size() && fmt[pos] == '.' && is_digit(fmt[pos + 1])) {
    ++pos;
    d.precision = read_number(fmt, pos);
  }
  d.letter_pos = pos;
  return d;
}

std::string_view IO_AllowedLetters(TypeCode type) {
  switch (type) {
    case TypeCode::Real: return "glef";
    case TypeCode::Binary: return "B";
    case TypeCode::RefNumber: return "R";
    case TypeCode::String:
    case TypeCode::Symbol: return "Xs";
    default: return kIntegerLetters;
  }
}

char IO_DefaultLetter(TypeCode type) {
  switch (type) {
    case TypeCode::Char: return 'c';
    case TypeCode::UInt8:
    case TypeCode::UInt16: return 'u';
    case TypeCode::Int8:
    case TypeCode::Int16: return 'd';
    case TypeCode::UInt32:
    case TypeCode::ULong: return 'U';
    case TypeCode::Real: return 'f';
    case TypeCode::Binary: return 'B';
    case TypeCode::RefNumber: return 'R';
    case TypeCode::String:
    case TypeCode::Symbol: return 's';
    default: return 'D';  // integer, long
  }
}

void FormatEngine::start(std::string_view fmt, std::string& out) {
  fmt_ = fmt;
  pos_ = 0;
  copy_literal(out);
}

char FormatEngine::next_letter() const {
  if (!at_directive()) return 0;
  const std::size_t at = IO_ParseDirective(fmt_, pos_).letter_pos;
  return at < fmt_.size() ? fmt_[at] : 0;
}

void FormatEngine::copy_literal(std::string& out) {
  while (pos_ < fmt_.size()) {
    const std::size_t p = fmt_.find('%', pos_);
    if (p == std::string_view::npos) {
      out += fmt_.substr(pos_);
      pos_ = fmt_.size();
      return;
    }
    out += fmt_.substr(pos_, p - pos_);
    if (p + 1 < fmt_.size() && fmt_[p + 1] == '%') {
      out += '%';
      pos_ = p + 2;
      continue;
    }
    pos_ = p;
    return;
  }
}

void FormatEngine::put(const FmtArg& value, std::string& out) {
  if (!at_directive()) RUN_Error(1109);
  const FmtDirective d = IO_ParseDirective(fmt_, pos_);
  pos_ = d.letter_pos;

  const TypeCode type = value.type();
  char letter = IO_DefaultLetter(type);
  if (pos_ < fmt_.size() && IO_AllowedLetters(type).find(fmt_[pos_]) != std::string_view::npos)
    letter = fmt_[pos_++];

  try {
    switch (letter) {
      case 'f':
      case 'l':
      case 'e':
      case 'g': {
        // After "f" or "l" a following "e", "f" or "g" decides the form.
        if ((letter == 'f' || letter == 'l') && pos_ < fmt_.size() &&
            std::string_view("efg").find(fmt_[pos_]) != std::string_view::npos)
          letter = fmt_[pos_++];
        const RealForm form = letter == 'e' ? RealForm::Exponent
                              : letter == 'g' ? RealForm::General
                                              : RealForm::Fixed;
        const std::size_t begin = out.size();
        IO_AppendReal(out, value.real_value(), form, d.precision);
        // Reals are padded with blanks only.
        const std::size_t length = out.size() - begin;
        const auto width = static_cast<std::size_t>(d.width);
        if (width > length) {
          if (d.left) out.append(width - length, ' ');
          else out.insert(begin, width - length, ' ');
        }
        break;
      }
      case 's': {
        std::string_view text = value.text();
        if (d.precision >= 0 && static_cast<std::size_t>(d.precision) < text.size())
          text = text.substr(0, static_cast<std::size_t>(d.precision));
        append_field(out, d, text);
        break;
      }
      case 'X':
        if (value.type() == TypeCode::String || value.type() == TypeCode::Symbol) {
          append_field(out, d, hex_bytes(value.text()));
          break;
        }
        [[fallthrough]];
      case 'd':
      case 'D':
      case 'u':
      case 'U':
      case 'x':
      case 'o':
      case 'O':
      case 'c': {
        char buf[16];
        append_field(out, d, integer_text(buf, letter, value.int_value()));
        break;
      }
      case 'B': append_field(out, d, hex_bytes(value.text())); break;
      case 'R': {
        char buf[16];
        std::string text = "~";
        text += integer_text(buf, 'X', value.int_value());
        append_field(out, d, text);
        break;
      }
    }
    copy_literal(out);
  } catch (const std::bad_alloc&) {
    RUN_Error(1140);
  } catch (const std::length_error&) {
    RUN_Error(1140);
  }
}
