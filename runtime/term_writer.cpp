// The fact-file writer: numbers in decimal, reals in the general form with 10 significant digits,
// quoted and escaped strings and chars, "$[..]" binary blocks, lists and compound values.
#include "runtime/term_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "runtime/conversions.h"
#include "runtime/fact_record.h"
#include "runtime/run_error.h"
#include "runtime/term_reader.h"

namespace {

void put_int(std::string& out, std::int64_t v) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

// Whether a text holds a byte that a string escapes (a loop the compiler turns into vector
// compares: most texts have none and are copied in one piece).
bool needs_escape(std::string_view text) {
  bool any = false;
  for (const char c : text) any |= (c == '\n') | (c == '\r') | (c == '"') | (c == '\\');
  return any;
}

// The largest real of 10 significant digits that does not pass the largest double.
constexpr double kLargestTenDigitReal = 1.797693134e308;

// A real in the general form with 10 significant digits, always one the reader takes back: a
// value that rounds past the largest double (to 1.797693135E+308, which reads as an overflow) is
// rounded toward zero instead, and an infinity or a not-a-number, which the fact-file syntax
// cannot hold, raises 1402 (the error its line would give on reading) before anything is written.
void put_real(std::string& out, double v) {
  if (!std::isfinite(v)) RUN_Error(errcode::kReadReal);
  if (std::fabs(v) > kLargestTenDigitReal) out += v < 0 ? "-1.797693134E+308" : "1.797693134E+308";
  else out += CONV_s_r_oi(v);
}

void put_string(std::string& out, std::string_view text) {
  if (!needs_escape(text)) {
    const std::size_t at = out.size();
    out.append(text.size() + 2, '"');
    std::memcpy(out.data() + at + 1, text.data(), text.size());
    return;
  }
  out += '"';
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char* esc = nullptr;
    switch (c) {
      case '\n': esc = "\\n"; break;
      case '\r': esc = "\\r"; break;
      case '"': esc = "\\\""; break;
      case '\\': esc = "\\\\"; break;
      default: continue;
    }
    out.append(text.data() + run, i - run);
    out += esc;
    run = i + 1;
  }
  out.append(text.data() + run, text.size() - run);
  out += '"';
}

void put_char(std::string& out, unsigned char c) {
  out += '\'';
  if (c == '\n') out += "\\n";
  else if (c == '\r') out += "\\r";
  else if (c == 0) out += "\\0";
  else out += static_cast<char>(c);
  out += '\'';
}

void put_binary(std::string& out, const Binary& b) {
  static constexpr char hex[] = "0123456789ABCDEF";
  out += "$[";
  for (std::size_t i = 0; i < b.bytes.size(); ++i) {
    if (i != 0) out += ',';
    out += hex[b.bytes[i] >> 4];
    out += hex[b.bytes[i] & 15];
  }
  out += ']';
}

void put_compound(std::string& out, const TypeDesc& type, const Term& value) {
  const TermCompound& c = value.as_compound();
  if (c.functor >= type.functors.size()) RUN_ErrorExit();
  const FunctorDesc& f = type.functors[c.functor];
  if (c.args.size() != f.fields.size()) RUN_ErrorExit();
  out += f.name;
  if (f.fields.empty()) return;
  out += '(';
  for (std::size_t i = 0; i < f.fields.size(); ++i) {
    if (i != 0) out += ',';
    RNT_WriteTerm(out, *f.fields[i], c.args[i]);
  }
  out += ')';
}

}  // namespace

void RNT_WriteTerm(std::string& out, const TypeDesc& type, const Term& value) {
  try {
    switch (type.code) {
      case TypeCode::Char: put_char(out, static_cast<unsigned char>(value.as_int())); return;
      case TypeCode::Real: put_real(out, value.as_real()); return;
      case TypeCode::String:
      case TypeCode::Symbol: put_string(out, value.as_string()); return;
      case TypeCode::Binary: put_binary(out, value.as_binary()); return;
      case TypeCode::List: {
        out += '[';
        const Term::List& items = value.as_list();
        for (std::size_t i = 0; i < items.size(); ++i) {
          if (i != 0) out += ',';
          RNT_WriteTerm(out, *type.element, items[i]);
        }
        out += ']';
        return;
      }
      case TypeCode::Compound: put_compound(out, type, value); return;
      default: put_int(out, value.as_int()); return;
    }
  } catch (const std::bad_variant_access&) {
    RUN_ErrorExit();
  }
}

void RNT_WriteFact(std::string& out, const FactSection& section, const Term& fact) {
  RNT_WriteTerm(out, section.record_type(), fact);
}

std::string RNT_TermStr_io(const TypeDesc& type, const Term& value) {
  std::string out;
  RNT_WriteTerm(out, type, value);
  return out;
}

void RNT_WriteStoredFact(std::string& out, const FactSection& section, const std::byte* block) {
  using namespace fact_record;
  const std::size_t kind = kind_number(block) - 1u;
  out += section.kind_name(kind);
  const auto& fields = section.kind_fields(kind);
  if (fields.empty()) return;
  out += '(';
  Term scratch;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) out += ',';
    const TypeDesc& type = *fields[i];
    const std::byte* slot = block + kHeaderSize + kSlotSize * i;
    const char* bytes = reinterpret_cast<const char*>(block + ref_offset(slot));
    switch (type.code) {
      case TypeCode::Char: put_char(out, static_cast<unsigned char>(get_int(slot))); break;
      case TypeCode::Real: put_real(out, get_real(slot)); break;
      case TypeCode::String:
      case TypeCode::Symbol: put_string(out, std::string_view(bytes, ref_count(slot))); break;
      case TypeCode::List:
      case TypeCode::Compound:
      case TypeCode::Binary:
        RNT_CopyTermToGStack(type, block, slot, scratch);
        RNT_WriteTerm(out, type, scratch);
        break;
      default: put_int(out, get_int(slot)); break;
    }
  }
  out += ')';
}
