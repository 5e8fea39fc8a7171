// The static scalar descriptors, the memoised list descriptors and the integer ranges.
#include "runtime/value_type.h"

#include <array>
#include <map>
#include <memory>

bool TypeDesc::is_integral() const {
  return (code >= TypeCode::Char && code <= TypeCode::Long) || code == TypeCode::RefNumber;
}

bool TypeDesc::is_enumeration() const {
  if (code != TypeCode::Compound || functors.empty()) return false;
  for (const auto& f : functors)
    if (!f.fields.empty()) return false;
  return true;
}

bool TypeDesc::is_flat() const {
  if (code == TypeCode::Compound) return is_enumeration();
  return is_integral() || code == TypeCode::Real;
}

int TypeDesc::functor_index(std::string_view name) const {
  for (std::size_t i = 0; i < functors.size(); ++i)
    if (functors[i].name == name) return static_cast<int>(i);
  return -1;
}

const TypeDesc& scalar_type(TypeCode code) {
  // Never destroyed: descriptors live as long as the program.
  static const auto& table = *[] {
    auto* t = new std::array<TypeDesc, 15>();
    for (std::size_t i = 1; i < t->size(); ++i) (*t)[i].code = static_cast<TypeCode>(i);
    return t;
  }();
  const auto i = static_cast<std::size_t>(code);
  return i >= 1 && i <= 14 ? table[i] : table[static_cast<std::size_t>(TypeCode::Integer)];
}

const TypeDesc& list_type(const TypeDesc& element) {
  // Never freed: descriptors live as long as the program.
  static auto* lists = new std::map<const TypeDesc*, std::unique_ptr<TypeDesc>>();
  auto& slot = (*lists)[&element];
  if (!slot) {
    slot = std::make_unique<TypeDesc>();
    slot->code = TypeCode::List;
    slot->element = &element;
  }
  return *slot;
}

std::int64_t type_min(TypeCode code) {
  switch (code) {
    case TypeCode::Int8: return -128;
    case TypeCode::Int16: return -32768;
    case TypeCode::Integer:
    case TypeCode::Long: return INT32_MIN;
    default: return 0;
  }
}

std::int64_t type_max(TypeCode code) {
  switch (code) {
    case TypeCode::Char:
    case TypeCode::UInt8: return 255;
    case TypeCode::Int8: return 127;
    case TypeCode::UInt16: return 65535;
    case TypeCode::Int16: return 32767;
    case TypeCode::Integer:
    case TypeCode::Long: return INT32_MAX;
    case TypeCode::UInt32:
    case TypeCode::ULong:
    case TypeCode::RefNumber: return UINT32_MAX;
    default: return 0;
  }
}
