// The typed C++ face of the value types: which C++ type stands for which value type, and the
// descriptor of each, made once at first use.
//
//   char -> char; uint8_t, int8_t, uint16_t, int16_t, uint32_t -> the integer of that width;
//   int32_t and bool -> integer; LongInt / ULongInt -> long / unsigned long; RefNumber -> reference
//   number; double -> real; Binary -> binary block; std::string -> string; Symbol -> symbol;
//   std::vector<T> -> list of T;
//   a struct with `auto fields() { return std::tie(...); }` and a `static constexpr std::string_view
//   functor` -> a compound domain with that one functor;
//   std::variant<A, B, ...> of such structs -> a domain with the functors A, B, ... in this order;
//   an enum E with a FactEnumNames<E> specialisation -> an enumeration domain (enumerators 0..N-1).
//
// Example:
//   struct tb_inside { static constexpr auto functor = "tb_inside"_cp; Point at;
//                      auto fields() { return std::tie(at); } };
//   enum class ButtonStyle { pushb, checkb };
//   template <> struct FactEnumNames<ButtonStyle> {
//     static constexpr std::array<std::string_view, 2> names{"pushb", "checkb"};
//   };
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/value_term.h"
#include "runtime/value_type.h"

// Wrappers for the value types that no plain C++ type names on its own.
struct Symbol {
  std::string text;
  bool operator==(const Symbol&) const = default;
};
struct LongInt {
  std::int32_t value = 0;
  bool operator==(const LongInt&) const = default;
};
struct ULongInt {
  std::uint32_t value = 0;
  bool operator==(const ULongInt&) const = default;
};
struct RefNumber {
  std::uint32_t value = 0;
  bool operator==(const RefNumber&) const = default;
};

// Specialise with `static constexpr std::array<std::string_view, N> names{...}` (cp1251) to use
// an enum as an enumeration domain.
template <class E>
struct FactEnumNames;

namespace value_typed {

template <class T>
struct is_vector : std::false_type {};
template <class T, class A>
struct is_vector<std::vector<T, A>> : std::true_type {};

template <class T>
struct is_variant : std::false_type {};
template <class... Ts>
struct is_variant<std::variant<Ts...>> : std::true_type {};

template <class T>
struct is_tuple : std::false_type {};
template <class... Ts>
struct is_tuple<std::tuple<Ts...>> : std::true_type {};

template <class T>
concept HasFields = requires(T& t) { t.fields(); };
template <class T>
concept HasFunctor = requires {
  { T::functor } -> std::convertible_to<std::string_view>;
};
// A struct that is a compound value.
template <class T>
concept CompoundStruct = HasFields<T> && HasFunctor<T>;
template <class T>
concept EnumDomain = std::is_enum_v<T> && requires { FactEnumNames<T>::names; };

template <class T>
inline constexpr bool is_integral_value =
    std::is_same_v<T, char> || std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int8_t> ||
    std::is_same_v<T, std::uint16_t> || std::is_same_v<T, std::int16_t> ||
    std::is_same_v<T, std::uint32_t> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, bool> ||
    std::is_same_v<T, LongInt> || std::is_same_v<T, ULongInt> || std::is_same_v<T, RefNumber>;

template <class T>
constexpr TypeCode integral_code() {
  if constexpr (std::is_same_v<T, char>) return TypeCode::Char;
  else if constexpr (std::is_same_v<T, std::uint8_t>) return TypeCode::UInt8;
  else if constexpr (std::is_same_v<T, std::int8_t>) return TypeCode::Int8;
  else if constexpr (std::is_same_v<T, std::uint16_t>) return TypeCode::UInt16;
  else if constexpr (std::is_same_v<T, std::int16_t>) return TypeCode::Int16;
  else if constexpr (std::is_same_v<T, std::uint32_t>) return TypeCode::UInt32;
  else if constexpr (std::is_same_v<T, LongInt>) return TypeCode::Long;
  else if constexpr (std::is_same_v<T, ULongInt>) return TypeCode::ULong;
  else if constexpr (std::is_same_v<T, RefNumber>) return TypeCode::RefNumber;
  else return TypeCode::Integer;  // int32_t, bool
}

template <class T>
constexpr std::int64_t to_int(const T& v) {
  if constexpr (std::is_same_v<T, char>) return static_cast<unsigned char>(v);
  else if constexpr (std::is_same_v<T, LongInt> || std::is_same_v<T, ULongInt> || std::is_same_v<T, RefNumber>)
    return v.value;
  else return static_cast<std::int64_t>(v);
}

template <class T>
constexpr void from_int(std::int64_t i, T& out) {
  if constexpr (std::is_same_v<T, char>) out = static_cast<char>(static_cast<unsigned char>(i));
  else if constexpr (std::is_same_v<T, bool>) out = i != 0;
  else if constexpr (std::is_same_v<T, LongInt> || std::is_same_v<T, ULongInt> || std::is_same_v<T, RefNumber>)
    out.value = static_cast<decltype(out.value)>(i);
  else out = static_cast<T>(i);
}

// The fields of a compound struct as a tuple of references (the struct is only read when `t`
// is a value being written out).
template <class T>
auto fields_of(const T& t) {
  return const_cast<T&>(t).fields();
}

template <class Tuple>
struct field_types;
template <class... Ts>
struct field_types<std::tuple<Ts...>> {
  using type = std::tuple<std::remove_cvref_t<Ts>...>;
};
template <class T>
using struct_field_types = typename field_types<decltype(std::declval<T&>().fields())>::type;

}  // namespace value_typed

// Whether T stands for a value type.
template <class T>
concept FactValueType =
    value_typed::is_integral_value<T> || std::is_same_v<T, double> || std::is_same_v<T, std::string> ||
    std::is_same_v<T, Symbol> || std::is_same_v<T, Binary> || value_typed::is_vector<T>::value ||
    value_typed::CompoundStruct<T> || value_typed::is_variant<T>::value || value_typed::EnumDomain<T>;

template <class T>
const TypeDesc& type_of();

namespace value_typed {

template <class S>
FunctorDesc functor_of() {
  static_assert(CompoundStruct<S>, "an alternative of a domain needs fields() and a functor name");
  FunctorDesc f;
  f.name = std::string(std::string_view(S::functor));
  [&]<class... F>(std::tuple<F...>*) { (f.fields.push_back(&type_of<F>()), ...); }(
      static_cast<struct_field_types<S>*>(nullptr));
  return f;
}

template <class T>
void fill_domain(TypeDesc& d) {
  d.code = TypeCode::Compound;
  if constexpr (EnumDomain<T>) {
    for (std::string_view n : FactEnumNames<T>::names) d.functors.push_back(FunctorDesc{std::string(n), {}});
  } else if constexpr (is_variant<T>::value) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (d.functors.push_back(functor_of<std::variant_alternative_t<I, T>>()), ...);
    }(std::make_index_sequence<std::variant_size_v<T>>{});
  } else {
    d.functors.push_back(functor_of<T>());
  }
}

}  // namespace value_typed

// The descriptor of the value type that T stands for; made at first use and kept for the run.
template <class T>
const TypeDesc& type_of() {
  static_assert(FactValueType<T>,
                "no value type for this C++ type (use int32_t, uint32_t, LongInt, ... see value_typed.h)");
  using namespace value_typed;
  if constexpr (is_integral_value<T>) {
    return scalar_type(integral_code<T>());
  } else if constexpr (std::is_same_v<T, double>) {
    return scalar_type(TypeCode::Real);
  } else if constexpr (std::is_same_v<T, std::string>) {
    return scalar_type(TypeCode::String);
  } else if constexpr (std::is_same_v<T, Symbol>) {
    return scalar_type(TypeCode::Symbol);
  } else if constexpr (std::is_same_v<T, Binary>) {
    return scalar_type(TypeCode::Binary);
  } else if constexpr (is_vector<T>::value) {
    return list_type(type_of<typename T::value_type>());
  } else {
    // Constructed before it is filled, so that a type that contains itself (through a list)
    // finds its own descriptor while it is being filled; never destroyed, like every descriptor.
    static TypeDesc& desc = *new TypeDesc;
    static bool filled = false;
    if (!filled) {
      filled = true;
      fill_domain<T>(desc);
    }
    return desc;
  }
}
