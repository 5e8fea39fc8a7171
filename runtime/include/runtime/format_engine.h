// The directive engine of formatted output: a value with its type code (FmtArg), the parse of
// one directive ("%", "-", width, precision, letter) and the rendering of a value into a field.
// Both the string form and the device form of formatted output run on it.
// Invariant: between calls the cursor stands at the "%" of the next directive or at the end of
// the format string; the literal text before it has been copied already.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/value_term.h"
#include "runtime/value_type.h"
#include "runtime/value_typed.h"

// One value handed to formatted output together with its value type. Texts and binary blocks are
// viewed, not copied: the viewed value must outlive the call it is passed to.
class FmtArg {
 public:
  FmtArg(std::int32_t v) : type_(TypeCode::Integer), int_(v) {}
  FmtArg(std::uint32_t v) : type_(TypeCode::UInt32), int_(v) {}
  FmtArg(std::int16_t v) : type_(TypeCode::Int16), int_(v) {}
  FmtArg(std::uint16_t v) : type_(TypeCode::UInt16), int_(v) {}
  FmtArg(std::int8_t v) : type_(TypeCode::Int8), int_(v) {}
  FmtArg(std::uint8_t v) : type_(TypeCode::UInt8), int_(v) {}
  FmtArg(char v) : type_(TypeCode::Char), int_(static_cast<unsigned char>(v)) {}
  FmtArg(LongInt v) : type_(TypeCode::Long), int_(v.value) {}
  FmtArg(ULongInt v) : type_(TypeCode::ULong), int_(v.value) {}
  FmtArg(RefNumber v) : type_(TypeCode::RefNumber), int_(v.value) {}
  FmtArg(double v) : type_(TypeCode::Real), real_(v) {}
  FmtArg(std::string_view v) : type_(TypeCode::String), text_(v) {}
  FmtArg(const std::string& v) : type_(TypeCode::String), text_(v) {}
  FmtArg(const char* v) : type_(TypeCode::String), text_(v) {}
  FmtArg(const Symbol& v) : type_(TypeCode::Symbol), text_(v.text) {}
  FmtArg(const Binary& v)
      : type_(TypeCode::Binary),
        text_(reinterpret_cast<const char*>(v.bytes.data()), v.bytes.size()) {}
  // A value of the store with its descriptor. Only the scalar types (codes 1 to 14) have a
  // rendering; a list or compound value, or a term that does not hold its type's kind of value
  // (a text for an integer type), raises error 1000.
  FmtArg(const TypeDesc& type, const Term& value);

  // An integral value of any integral type code (char, the integers, the reference number).
  static FmtArg integral(TypeCode type, std::int64_t v);

  TypeCode type() const { return type_; }
  std::int64_t int_value() const { return int_; }
  double real_value() const { return real_; }
  // The bytes of a string, symbol or binary block.
  std::string_view text() const { return text_; }

 private:
  FmtArg() = default;
  TypeCode type_ = TypeCode::Integer;
  std::int64_t int_ = 0;
  double real_ = 0;
  std::string_view text_;
};

// The largest width or precision of a directive, that of the longest string the runtime makes;
// a directive with a larger one raises 1140 (no memory for the output) when a value reaches it.
inline constexpr int IO_MaxFieldSize = 1073741824;

// The letter a directive without one renders a value of `type` with.
char IO_DefaultLetter(TypeCode type);

// One pass over a format string. The format string must outlive the pass.
class FormatEngine {
 public:
  // Starts a pass over `fmt` and appends the literal text up to the first directive to `out`.
  void start(std::string_view fmt, std::string& out);
  // Whether a directive is left for another value.
  bool at_directive() const { return pos_ < fmt_.size(); }
  // The character that stands where the letter of the next directive would be (0 if none).
  char next_letter() const;
  // Renders `value` with the directive at the cursor into `out`, then appends the literal text
  // up to the next directive. Raises 1109 when no directive is left, 1140 when memory runs out
  // or the directive's width or precision is above IO_MaxFieldSize.
  void put(const FmtArg& value, std::string& out);

 private:
  void copy_literal(std::string& out);

  std::string_view fmt_;
  std::size_t pos_ = 0;
};
