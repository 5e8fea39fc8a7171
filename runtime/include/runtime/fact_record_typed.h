// The typed codec of stored records: C++ values (value_typed.h) into the block layout of
// fact_record.h and back, without going through terms. It produces exactly the blocks that the
// term codec produces for the same values, so typed and generic users share every fact.
//
// The record of a kind of C++ type T is:
//   std::tuple<A, B, ...>                      -> the fields A, B, ...
//   a struct with fields() and no functor name -> the fields that fields() ties
//   any other value type                       -> one field of that type
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "runtime/fact_record.h"
#include "runtime/value_typed.h"

namespace fact_record {

template <class T>
inline constexpr bool is_record_struct = value_typed::HasFields<T> && !value_typed::HasFunctor<T>;

// The fields of a record as a tuple of references.
template <class T>
auto record_refs(T& r) {
  if constexpr (value_typed::is_tuple<T>::value)
    return std::apply([](auto&... x) { return std::tie(x...); }, r);
  else if constexpr (is_record_struct<T>)
    return r.fields();
  else
    return std::tie(r);
}

template <class T>
auto record_refs(const T& r) {
  return record_refs(const_cast<T&>(r));  // only read
}

template <class T>
using record_field_tuple = typename value_typed::field_types<decltype(record_refs(std::declval<T&>()))>::type;

template <class T>
std::vector<const TypeDesc*> record_types() {
  std::vector<const TypeDesc*> types;
  // Only the field types are needed: walk them without building (and copying) field values.
  [&]<class... F>(std::tuple<F...>*) { (types.push_back(&type_of<F>()), ...); }(
      static_cast<record_field_tuple<T>*>(nullptr));
  return types;
}

template <class T>
constexpr bool is_flat_value() {
  return value_typed::is_integral_value<T> || std::is_same_v<T, double> || value_typed::EnumDomain<T>;
}

// Whether every field of the record is stored in its slot alone (no tail).
template <class T>
constexpr bool record_is_flat() {
  return []<class... F>(std::tuple<F...>*) { return (is_flat_value<F>() && ...); }(
      static_cast<record_field_tuple<T>*>(nullptr));
}

// The bytes a text, symbol or binary value keeps in a record's tail.
template <class T>
std::pair<const void*, std::size_t> stored_bytes(const T& v) {
  if constexpr (std::is_same_v<T, std::string>) {
    return {v.data(), v.size()};
  } else if constexpr (std::is_same_v<T, Symbol>) {
    return {v.text.data(), v.text.size()};
  } else {
    return {v.bytes.data(), v.bytes.size()};
  }
}

template <bool Write, class T>
void encode_typed(std::byte* block, std::size_t slot, const T& v, std::size_t& tail);

template <bool Write, class Tuple>
void encode_tuple(std::byte* block, std::size_t at, const Tuple& t, std::size_t& tail) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (encode_typed<Write>(block, at + kSlotSize * I, std::get<I>(t), tail), ...);
  }(std::make_index_sequence<std::tuple_size_v<Tuple>>{});
}

// A compound struct: (offset of its field slots, functor).
template <bool Write, class S>
void encode_struct(std::byte* block, std::size_t slot, const S& v, std::uint32_t functor, std::size_t& tail) {
  const auto refs = value_typed::fields_of(v);
  constexpr std::size_t n = std::tuple_size_v<decltype(refs)>;
  if constexpr (n == 0) {
    if constexpr (Write) put_ref(block + slot, 0, functor);
  } else {
    const std::size_t at = align8(tail);
    if constexpr (Write) {
      std::memset(block + tail, 0, at - tail);
      put_ref(block + slot, at, functor);
    }
    tail = at + kSlotSize * n;
    encode_tuple<Write>(block, at, refs, tail);
  }
}

template <bool Write, class T>
void encode_typed(std::byte* block, std::size_t slot, const T& v, std::size_t& tail) {
  using namespace value_typed;
  if constexpr (is_integral_value<T>) {
    if constexpr (Write) put_int(block + slot, to_int(v));
  } else if constexpr (std::is_same_v<T, double>) {
    if constexpr (Write) put_real(block + slot, v);
  } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, Symbol> || std::is_same_v<T, Binary>) {
    const auto [bytes, n] = stored_bytes(v);
    constexpr bool text = !std::is_same_v<T, Binary>;
    const std::size_t at = tail;
    tail += text ? n + 1 : n;
    if constexpr (Write) {
      put_ref(block + slot, at, n);
      if (n != 0) std::memcpy(block + at, bytes, n);
      if constexpr (text) block[at + n] = std::byte{0};
    }
  } else if constexpr (is_vector<T>::value) {
    static_assert(!std::is_same_v<typename T::value_type, bool>, "use std::vector<int32_t> for a list of flags");
    const std::size_t at = align8(tail);
    if constexpr (Write) {
      std::memset(block + tail, 0, at - tail);
      put_ref(block + slot, at, v.size());
    }
    tail = at + kSlotSize * v.size();
    for (std::size_t i = 0; i < v.size(); ++i) encode_typed<Write>(block, at + kSlotSize * i, v[i], tail);
  } else if constexpr (EnumDomain<T>) {
    if constexpr (Write) put_ref(block + slot, 0, static_cast<std::uint32_t>(v));
  } else if constexpr (is_variant<T>::value) {
    std::visit([&](const auto& alt) { encode_struct<Write>(block, slot, alt, static_cast<std::uint32_t>(v.index()), tail); }, v);
  } else {
    static_assert(CompoundStruct<T>, "not a value type");
    encode_struct<Write>(block, slot, v, 0, tail);
  }
}

template <class T>
void decode_typed(const std::byte* block, const std::byte* slot, T& out);

template <class Tuple>
void decode_tuple(const std::byte* block, const std::byte* at, Tuple&& t) {
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    (decode_typed(block, at + kSlotSize * I, std::get<I>(t)), ...);
  }(std::make_index_sequence<std::tuple_size_v<std::remove_cvref_t<Tuple>>>{});
}

template <class V, std::size_t... I>
void emplace_alternative(V& v, std::size_t index, std::index_sequence<I...>) {
  ((I == index ? (void)v.template emplace<I>() : void()), ...);
}

template <class T>
void decode_typed(const std::byte* block, const std::byte* slot, T& out) {
  using namespace value_typed;
  if constexpr (is_integral_value<T>) {
    from_int(get_int(slot), out);
  } else if constexpr (std::is_same_v<T, double>) {
    out = get_real(slot);
  } else if constexpr (std::is_same_v<T, std::string>) {
    copy_text(block, slot, out);
  } else if constexpr (std::is_same_v<T, Symbol>) {
    copy_text(block, slot, out.text);
  } else if constexpr (std::is_same_v<T, Binary>) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(block + ref_offset(slot));
    out.bytes.assign(p, p + ref_count(slot));
  } else if constexpr (is_vector<T>::value) {
    out.resize(ref_count(slot));
    const std::byte* at = block + ref_offset(slot);
    for (std::size_t i = 0; i < out.size(); ++i) decode_typed(block, at + kSlotSize * i, out[i]);
  } else if constexpr (EnumDomain<T>) {
    out = static_cast<T>(ref_count(slot));
  } else if constexpr (is_variant<T>::value) {
    const std::size_t functor = ref_count(slot);
    if (out.index() != functor) emplace_alternative(out, functor, std::make_index_sequence<std::variant_size_v<T>>{});
    std::visit([&](auto& alt) { decode_tuple(block, block + ref_offset(slot), alt.fields()); }, out);
  } else {
    decode_tuple(block, block + ref_offset(slot), out.fields());
  }
}

template <class T>
bool same_typed(const std::byte* block, const std::byte* slot, const T& v);

template <class Tuple>
bool same_tuple(const std::byte* block, const std::byte* at, const Tuple& t) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return (same_typed(block, at + kSlotSize * I, std::get<I>(t)) && ...);
  }(std::make_index_sequence<std::tuple_size_v<Tuple>>{});
}

// Whether the stored value in `slot` equals `v`: text byte for byte, numbers by value.
template <class T>
bool same_typed(const std::byte* block, const std::byte* slot, const T& v) {
  using namespace value_typed;
  if constexpr (is_integral_value<T>) {
    return get_int(slot) == to_int(v);
  } else if constexpr (std::is_same_v<T, double>) {
    return get_real(slot) == v;
  } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, Symbol> || std::is_same_v<T, Binary>) {
    const auto [bytes, n] = stored_bytes(v);
    return ref_count(slot) == n && (n == 0 || std::memcmp(block + ref_offset(slot), bytes, n) == 0);
  } else if constexpr (is_vector<T>::value) {
    if (ref_count(slot) != v.size()) return false;
    const std::byte* at = block + ref_offset(slot);
    for (std::size_t i = 0; i < v.size(); ++i)
      if (!same_typed(block, at + kSlotSize * i, v[i])) return false;
    return true;
  } else if constexpr (EnumDomain<T>) {
    return ref_count(slot) == static_cast<std::uint32_t>(v);
  } else if constexpr (is_variant<T>::value) {
    if (ref_count(slot) != v.index()) return false;
    return std::visit([&](const auto& alt) { return same_tuple(block, block + ref_offset(slot), fields_of(alt)); }, v);
  } else {
    return same_tuple(block, block + ref_offset(slot), fields_of(v));
  }
}

// Record level.

template <class T>
std::size_t measure_record(const T& r) {
  constexpr std::size_t fixed = kHeaderSize + kSlotSize * std::tuple_size_v<record_field_tuple<T>>;
  if constexpr (record_is_flat<T>()) {
    return fixed;
  } else {
    std::size_t tail = fixed;
    encode_tuple<false>(nullptr, kHeaderSize, record_refs(r), tail);
    return tail;
  }
}

template <class T>
void write_record(std::byte* block, std::size_t kind_index, const T& r) {
  constexpr std::size_t fixed = kHeaderSize + kSlotSize * std::tuple_size_v<record_field_tuple<T>>;
  put_header(block, kind_index);
  std::size_t tail = fixed;
  encode_tuple<true>(block, kHeaderSize, record_refs(r), tail);
}

template <class T>
void read_record(const std::byte* block, T& out) {
  decode_tuple(block, block + kHeaderSize, record_refs(out));
}

template <class T>
bool same_record(const std::byte* block, const T& r) {
  return same_tuple(block, block + kHeaderSize, record_refs(r));
}

}  // namespace fact_record

// A C++ value as a term of type_of<T>(), and back: the bridge between the typed face and the
// services that take any value with its type (formatted output, the fact-file writer, the dialog
// package's value lists). from_term raises 1000 when the term does not have the type's form and
// 1031 when an integer lies outside its type's range.
template <class T>
Term to_term(const T& value) {
  std::size_t tail = fact_record::kSlotSize;
  fact_record::encode_typed<false>(nullptr, 0, value, tail);
  auto block = std::make_unique<std::byte[]>(tail);
  std::size_t written = fact_record::kSlotSize;
  fact_record::encode_typed<true>(block.get(), 0, value, written);
  Term out;
  fact_record::read_value(block.get(), type_of<T>(), out);
  return out;
}

template <class T>
T from_term(const Term& term) {
  const TypeDesc& type = type_of<T>();
  const std::size_t size = fact_record::measure_value(type, term);
  auto block = std::make_unique<std::byte[]>(size);
  fact_record::write_value(block.get(), size, type, term);
  T out{};
  fact_record::decode_typed(block.get(), block.get(), out);
  return out;
}
