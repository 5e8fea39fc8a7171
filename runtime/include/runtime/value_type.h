// Value types of the system: the type codes and the type descriptors that the fact store, the
// fact-file reader and writer, formatted output and the dialog package share.
// Invariant: a descriptor is made once and never changes or goes away while the program runs, so
// every holder keeps a plain pointer to it. Descriptors may refer to themselves (a domain whose
// functor holds a list of the same domain).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Value type codes. 1 to 14 are the scalar types; the program's own types lie above them.
enum class TypeCode : std::uint8_t {
  Char = 1,       // one cp1251 byte
  UInt8 = 2,
  Int8 = 3,
  UInt16 = 4,
  Int16 = 5,
  UInt32 = 6,
  Integer = 7,    // signed 32-bit
  ULong = 8,      // unsigned long: 32 bits, as on the program's platform
  Long = 9,       // long: 32 bits, as on the program's platform
  Real = 10,      // 64-bit IEEE
  Binary = 11,    // length-prefixed bytes
  RefNumber = 12, // 32-bit reference number
  String = 13,    // cp1251 text
  Symbol = 14,    // text entered in the symbol table by its reader
  List = 15,      // list of one element type
  Compound = 16,  // a domain of one or more functors
};

struct TypeDesc;

// One alternative of a compound domain: its name (cp1251) and the types of its fields.
struct FunctorDesc {
  std::string name;
  std::vector<const TypeDesc*> fields;
};

// The description of a value type.
struct TypeDesc {
  TypeCode code = TypeCode::Integer;
  const TypeDesc* element = nullptr;  // List: the element type
  std::vector<FunctorDesc> functors;  // Compound: the alternatives in declaration order

  bool is_scalar() const { return code < TypeCode::List; }
  bool is_integral() const;  // the integer codes, char and the reference number
  bool is_text() const { return code == TypeCode::String || code == TypeCode::Symbol; }
  // A compound domain whose functors have no fields.
  bool is_enumeration() const;
  // Holds no text, bytes, list or sub-record: a value of it is stored in its slot alone.
  bool is_flat() const;
  // The functor called `name`, or -1.
  int functor_index(std::string_view name) const;
};

// The static descriptor of a scalar type code (1 to 14).
const TypeDesc& scalar_type(TypeCode code);
// The static descriptor of a list of `element`; the same object for the same element type.
const TypeDesc& list_type(const TypeDesc& element);

// The smallest and largest value of an integral type (char counts as 0..255).
std::int64_t type_min(TypeCode code);
std::int64_t type_max(TypeCode code);
