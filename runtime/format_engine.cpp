// The directive engine of formatted output (see format_engine.h).
#include "runtime/format_engine.h"

#include <charconv>
#include <cstring>
#include <new>
#include <stdexcept>

#include "format_real.h"
#include "runtime/run_error.h"

namespace {

// The parts of one directive, "%" [-] [width] [.precision], before its letter.
struct FmtDirective {
  bool left = false;       // "-": justify left
  bool zero_pad = false;   // the width began with "0" and "-" was absent
  int width = 0;           // 0 when none was given
  int precision = -1;      // -1 when none was given
  std::size_t letter_pos = 0;  // where a letter would stand (may be the end of the format)
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Whether `type` allows `letter` after a directive: "dDuUxXoOc" for char and the integers,
// "glef" for reals, "B" for binary blocks, "R" for reference numbers, "Xs" for strings and symbols.
bool allows(TypeCode type, char letter) {
  switch (type) {
    case TypeCode::Real: return letter == 'g' || letter == 'l' || letter == 'e' || letter == 'f';
    case TypeCode::Binary: return letter == 'B';
    case TypeCode::RefNumber: return letter == 'R';
    case TypeCode::String:
    case TypeCode::Symbol: return letter == 's' || letter == 'X';
    default:
      switch (letter) {
        case 'd': case 'D': case 'u': case 'U': case 'x': case 'X': case 'o': case 'O': case 'c':
          return true;
        default: return false;
      }
  }
}

// Reads decimal digits at `pos`; a number above IO_MaxFieldSize counts as IO_MaxFieldSize + 1.
int read_number(std::string_view fmt, std::size_t& pos) {
  std::int64_t n = 0;
  while (pos < fmt.size() && is_digit(fmt[pos])) {
    n = n * 10 + (fmt[pos] - '0');
    if (n > IO_MaxFieldSize) n = IO_MaxFieldSize + 1;
    ++pos;
  }
  return static_cast<int>(n);
}

// Parses the directive whose "%" stands at `pos`. Inlined: it runs for every directive of every
// line.
inline FmtDirective parse_directive(std::string_view fmt, std::size_t pos) {
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

// Appends `text` to `out` in a field of the directive's width (never cutting it). The field is
// made in one step and filled in place: most fields are short, and one growth of the string
// costs less than an append for the pad and another for the text.
void append_field(std::string& out, const FmtDirective& d, std::string_view text) {
  const std::size_t width = static_cast<std::size_t>(d.width);
  const std::size_t pad = width > text.size() ? width - text.size() : 0;
  const std::size_t at = out.size();
  out.resize(at + pad + text.size(), d.zero_pad && !d.left ? '0' : ' ');
  char* const field = out.data() + at;
  if (!text.empty()) std::memcpy(d.left ? field : field + pad, text.data(), text.size());
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
    case TypeCode::Real:
      if (!value.is_real()) RUN_ErrorExit();
      real_ = value.as_real();
      break;
    case TypeCode::String:
    case TypeCode::Symbol:
      if (!value.is_string()) RUN_ErrorExit();
      text_ = value.as_string();
      break;
    case TypeCode::Binary: {
      if (!value.is_binary()) RUN_ErrorExit();
      const auto& bytes = value.as_binary().bytes;
      text_ = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      break;
    }
    case TypeCode::List:
    case TypeCode::Compound: RUN_ErrorExit();
    default:
      if (!value.is_int()) RUN_ErrorExit();
      int_ = value.as_int();
      break;
  }
}

FmtArg FmtArg::integral(TypeCode type, std::int64_t v) {
  FmtArg a;
  a.type_ = type;
  a.int_ = v;
  return a;
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
  const std::size_t at = parse_directive(fmt_, pos_).letter_pos;
  return at < fmt_.size() ? fmt_[at] : 0;
}

// Literal runs between directives are mostly a byte or two, so a plain scan beats a search call.
void FormatEngine::copy_literal(std::string& out) {
  const char* const s = fmt_.data();
  const std::size_t n = fmt_.size();
  std::size_t i = pos_, run = pos_;
  while (i < n) {
    if (s[i] != '%') {
      ++i;
    } else if (i + 1 < n && s[i + 1] == '%') {
      out.append(s + run, i + 1 - run);  // up to and with the first "%" of "%%"
      i += 2;
      run = i;
    } else {
      break;
    }
  }
  // Separators of one byte are the usual case; push_back avoids a copy call for them.
  if (i - run == 1) out.push_back(s[run]);
  else if (i > run) out.append(s + run, i - run);
  pos_ = i;
}

void FormatEngine::put(const FmtArg& value, std::string& out) {
  if (!at_directive()) RUN_Error(errcode::kFormatSurplusValue);
  const FmtDirective d = parse_directive(fmt_, pos_);
  // No field can be that large: refused before anything is allocated for it.
  if (d.width > IO_MaxFieldSize || d.precision > IO_MaxFieldSize) RUN_Error(errcode::kFormatMemory);
  pos_ = d.letter_pos;

  const TypeCode type = value.type();
  char letter = IO_DefaultLetter(type);
  if (pos_ < fmt_.size() && allows(type, fmt_[pos_]))
    letter = fmt_[pos_++];

  try {
    switch (letter) {
      case 'f':
      case 'l':
      case 'e':
      case 'g': {
        // After "f" or "l" a following "e", "f" or "g" decides the form.
        if ((letter == 'f' || letter == 'l') && pos_ < fmt_.size() &&
            (fmt_[pos_] == 'e' || fmt_[pos_] == 'f' || fmt_[pos_] == 'g'))
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
    RUN_Error(errcode::kFormatMemory);
  } catch (const std::length_error&) {
    RUN_Error(errcode::kFormatMemory);
  }
}
