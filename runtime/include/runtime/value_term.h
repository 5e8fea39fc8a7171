// The generic value ("term"): any value of any type descriptor, owned by whoever holds it.
// A term does not carry its type; the descriptor it is read or written with gives it. Every
// integral type (char as its byte 0..255) is held as a 64-bit integer, text and symbols as cp1251
// bytes, a compound as the 0-based index of its functor in its domain plus its fields. An
// unbound term stands for "any value" in a pattern.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

// The bytes of a binary block.
struct Binary {
  std::vector<std::uint8_t> bytes;
  bool operator==(const Binary&) const = default;
};

class Term;

struct TermCompound {
  std::uint32_t functor = 0;  // index into the domain's functors
  std::vector<Term> args;
  bool operator==(const TermCompound&) const;
};

class Term {
 public:
  using List = std::vector<Term>;
  using Value = std::variant<std::monostate, std::int64_t, double, std::string, Binary, List, TermCompound>;

  Term() = default;  // unbound
  // A char is held as its byte value 0..255.
  template <class I>
    requires std::is_integral_v<I>
  Term(I v) : v_(std::is_same_v<I, char> ? std::int64_t{static_cast<unsigned char>(v)} : static_cast<std::int64_t>(v)) {}
  Term(double v) : v_(v) {}
  Term(std::string v) : v_(std::move(v)) {}
  Term(const char* v) : v_(std::string(v)) {}
  Term(std::string_view v) : v_(std::string(v)) {}
  Term(Binary v) : v_(std::move(v)) {}
  Term(List v) : v_(std::move(v)) {}
  Term(TermCompound v) : v_(std::move(v)) {}

  static Term any() { return Term(); }
  static Term compound(std::uint32_t functor, List args = {}) {
    return Term(TermCompound{functor, std::move(args)});
  }

  bool is_unbound() const { return std::holds_alternative<std::monostate>(v_); }
  bool is_int() const { return std::holds_alternative<std::int64_t>(v_); }
  bool is_real() const { return std::holds_alternative<double>(v_); }
  bool is_string() const { return std::holds_alternative<std::string>(v_); }
  bool is_binary() const { return std::holds_alternative<Binary>(v_); }
  bool is_list() const { return std::holds_alternative<List>(v_); }
  bool is_compound() const { return std::holds_alternative<TermCompound>(v_); }

  // The accessors expect the matching alternative (std::bad_variant_access otherwise).
  std::int64_t as_int() const { return std::get<std::int64_t>(v_); }
  double as_real() const { return std::get<double>(v_); }
  const std::string& as_string() const { return std::get<std::string>(v_); }
  const Binary& as_binary() const { return std::get<Binary>(v_); }
  const List& as_list() const { return std::get<List>(v_); }
  const TermCompound& as_compound() const { return std::get<TermCompound>(v_); }
  std::uint32_t functor() const { return as_compound().functor; }
  const List& args() const { return as_compound().args; }

  // Mutable access that switches to the alternative first, keeping its storage when it already
  // holds it (so a term that is filled again and again stops allocating).
  std::string& set_string();
  Binary& set_binary();
  List& set_list();
  TermCompound& set_compound();
  void set_int(std::int64_t v) { v_ = v; }
  void set_real(double v) { v_ = v; }
  void set_unbound() { v_ = std::monostate{}; }

  const Value& value() const { return v_; }
  bool operator==(const Term& other) const { return v_ == other.v_; }

 private:
  Value v_;
};

inline bool TermCompound::operator==(const TermCompound& o) const {
  return functor == o.functor && args == o.args;
}
