// The fact-file reader: integers with their range checks, reals, strings and symbols with their
// escapes, chars, binary blocks, lists and compound values, each from a single line.
#include "runtime/term_reader.h"

#include <cstring>

#include "number_syntax.h"
#include "runtime/run_error.h"
#include "symbol_table.h"

std::size_t RNT_ConsultErrorFilepos = 0;
std::size_t RNT_ReadTermErrorLinePos = 0;

namespace {
std::string g_error_line;

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool is_unsigned(TypeCode code) {
  return code == TypeCode::UInt8 || code == TypeCode::UInt16 || code == TypeCode::UInt32 ||
         code == TypeCode::ULong || code == TypeCode::RefNumber;
}
}  // namespace

const std::string& RNT_ReadTermErrorLine() { return g_error_line; }

void RNT_ResetReadErrorPosition() {
  RNT_ConsultErrorFilepos = 0;
  RNT_ReadTermErrorLinePos = 0;
  g_error_line.clear();
  g_error_line.shrink_to_fit();
}

void TermLineReader::fail(int code, std::size_t at) const {
  RNT_ReadTermErrorLinePos = at;
  g_error_line.assign(line_.data(), line_.size());
  RUN_Error(code);
}

void TermLineReader::skip_blanks() { pos_ = CONV_SkipBlanks(line_, pos_); }

void TermLineReader::read(const TypeDesc& type, Term& out) {
  skip_blanks();
  switch (type.code) {
    case TypeCode::Char: read_char(out); return;
    case TypeCode::Real: read_real(out); return;
    case TypeCode::String: read_string(out.set_string()); return;
    case TypeCode::Symbol: {
      std::string& text = out.set_string();
      read_string(text);
      HASH_BinInsert(text);
      return;
    }
    case TypeCode::Binary: read_binary(out); return;
    case TypeCode::List:
    case TypeCode::Compound: {
      if (++depth_ > kReadMaxDepth) fail(errcode::kStackOverflow, pos_);
      if (type.code == TypeCode::List) read_list(type, out);
      else read_compound(type, out);
      --depth_;
      return;
    }
    default: read_integer(type.code, out); return;
  }
}

void TermLineReader::read_integer(TypeCode code, Term& out) {
  const std::size_t start = pos_;
  const IntegerText n = CONV_ReadInteger(line_, pos_);
  if (n.fault == NumberFault::no_digits) fail(errcode::kReadNumber, n.pos);
  if (n.fault == NumberFault::too_large) fail(errcode::kIntOverflow, n.pos);
  if (n.negative && is_unsigned(code)) fail(errcode::kReadNumber, start);
  // The whole range of each type is accepted, the smallest signed value included.
  const std::int64_t v = n.value();
  if (v < type_min(code) || v > type_max(code)) fail(errcode::kIntOverflow, start);
  pos_ = n.pos;
  out.set_int(v);
}

void TermLineReader::read_real(Term& out) {
  const RealText r = CONV_ReadReal(line_, pos_);
  if (!r) fail(errcode::kReadReal, r.pos);
  pos_ = r.pos;
  out.set_real(r.value);
}

void TermLineReader::read_string(std::string& out) {
  if (!at('"')) fail(errcode::kReadString, pos_);
  const char* p = line_.data();
  const std::size_t n = line_.size();
  std::size_t i = pos_ + 1;
  // Most strings hold no backslash: up to the next double quote, in one piece.
  if (const void* q = std::memchr(p + i, '"', n - i)) {
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(q) - p);
    if (std::memchr(p + i, '\\', end - i) == nullptr) {
      out.assign(p + i, end - i);
      pos_ = end + 1;
      return;
    }
  }
  out.clear();
  std::size_t run = i;  // start of the plain bytes not yet copied
  while (i < n) {
    const char c = p[i];
    if (c == '"') {
      out.append(p + run, i - run);
      pos_ = i + 1;
      return;
    }
    if (c != '\\') {
      ++i;
      continue;
    }
    out.append(p + run, i - run);
    if (i + 1 >= n) break;  // a backslash at the end of the line: the string has no end
    switch (p[i + 1]) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      default: out += '\\', out += p[i + 1]; break;
    }
    i += 2;
    run = i;
  }
  // The line ended inside the string.
  fail(errcode::kReadString, n);
}

void TermLineReader::read_char(Term& out) {
  const std::size_t n = line_.size();
  const char* p = line_.data();
  const std::size_t i = pos_;
  if (i + 3 < n && p[i] == '\'' && p[i + 1] == '\\' && p[i + 3] == '\'' &&
      (p[i + 2] == 'n' || p[i + 2] == 'r' || p[i + 2] == '0')) {
    out.set_int(p[i + 2] == 'n' ? '\n' : p[i + 2] == 'r' ? '\r' : 0);
    pos_ = i + 4;
    return;
  }
  if (i + 2 < n && p[i] == '\'' && p[i + 1] != '\0' && p[i + 2] == '\'') {
    out.set_int(static_cast<unsigned char>(p[i + 1]));
    pos_ = i + 3;
    return;
  }
  fail(errcode::kReadChar, i);
}

void TermLineReader::read_binary(Term& out) {
  if (!at('$')) fail(errcode::kReadDollar, pos_);
  ++pos_;
  if (!at('[')) fail(errcode::kReadBracket, pos_);
  ++pos_;
  std::vector<std::uint8_t>& bytes = out.set_binary().bytes;
  bytes.clear();
  skip_blanks();
  if (at(']')) {
    ++pos_;
    return;
  }
  for (;;) {
    skip_blanks();
    const int hi = pos_ < line_.size() ? hex_value(line_[pos_]) : -1;
    if (hi < 0) fail(errcode::kReadNumber, pos_);
    const int lo = pos_ + 1 < line_.size() ? hex_value(line_[pos_ + 1]) : -1;
    if (lo < 0) fail(errcode::kReadNumber, pos_ + 1);
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    pos_ += 2;
    skip_blanks();
    if (at(',')) {
      ++pos_;
      continue;
    }
    if (at(']')) {
      ++pos_;
      return;
    }
    fail(errcode::kReadBracket, pos_);
  }
}

void TermLineReader::read_list(const TypeDesc& type, Term& out) {
  if (!at('[')) fail(errcode::kReadBracket, pos_);
  ++pos_;
  Term::List& items = out.set_list();
  skip_blanks();
  if (at(']')) {
    items.clear();
    ++pos_;
    return;
  }
  std::size_t count = 0;
  for (;;) {
    if (count == items.size()) items.emplace_back();
    read(*type.element, items[count++]);
    skip_blanks();
    if (at(',')) {
      ++pos_;
      continue;
    }
    if (at(']')) {
      ++pos_;
      break;
    }
    fail(errcode::kReadListSep, pos_);
  }
  items.resize(count);
}

void TermLineReader::read_compound(const TypeDesc& type, Term& out) {
  // The name runs up to the first "(", ",", ")", "]" or the end of the line, blanks included.
  const std::size_t start = pos_;
  std::size_t end = start;
  while (end < line_.size()) {
    const char c = line_[end];
    if (c == '(' || c == ',' || c == ')' || c == ']') break;
    ++end;
  }
  const std::string_view name = line_.substr(start, end - start);
  std::size_t index = 0;
  while (index < type.functors.size() && type.functors[index].name != name) ++index;
  if (index == type.functors.size()) fail(errcode::kReadFunctor, start);
  pos_ = end;
  const FunctorDesc& f = type.functors[index];
  TermCompound& c = out.set_compound();
  c.functor = static_cast<std::uint32_t>(index);
  c.args.resize(f.fields.size());
  skip_blanks();
  if (f.fields.empty()) {
    if (!at('(')) return;
    ++pos_;
    skip_blanks();
    if (!at(')')) fail(errcode::kReadFieldSep, pos_);
    ++pos_;
    return;
  }
  if (!at('(')) fail(errcode::kReadOpen, pos_);
  ++pos_;
  for (std::size_t i = 0; i < f.fields.size(); ++i) {
    read(*f.fields[i], c.args[i]);
    skip_blanks();
    if (!at(i + 1 < f.fields.size() ? ',' : ')')) fail(errcode::kReadFieldSep, pos_);
    ++pos_;
  }
}

Term RNT_TermStr_oi(const TypeDesc& type, std::string_view text) {
  const std::size_t lf = text.find('\n');
  TermLineReader reader(text.substr(0, lf));
  Term out;
  reader.read(type, out);
  for (std::size_t i = reader.pos(); i < text.size(); ++i) {
    const char c = text[i];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      // The failing character lies on the value's line, or behind it.
      RNT_ReadTermErrorLinePos = i;
      g_error_line.assign(text.data(), text.size());
      RUN_Error(errcode::kReadLeftOver);
    }
  }
  return out;
}
