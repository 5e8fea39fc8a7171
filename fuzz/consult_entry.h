// The one input step of the consult fuzzer, shared by the fuzzer and the corpus test of the
// normal build: arbitrary bytes are consulted into the catalogue section and read as one value
// of a type chosen by the first byte. Run-time errors are the expected outcome of bad input;
// anything else (a crash, a sanitizer report, a broken round trip) is a fault.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/catalogue_facts.h"
#include "runtime/fact_file.h"
#include "runtime/run_error.h"
#include "runtime/term_reader.h"
#include "runtime/term_writer.h"

namespace fuzz_consult {

// A domain that contains itself through a list, for deep nesting.
inline const TypeDesc& nested_type() {
  static TypeDesc* d = [] {
    auto* t = new TypeDesc;
    t->code = TypeCode::Compound;
    t->functors.push_back({"leaf", {&scalar_type(TypeCode::Integer), &scalar_type(TypeCode::String)}});
    t->functors.push_back({"node", {&list_type(*t), &scalar_type(TypeCode::Char)}});
    t->functors.push_back({"empty", {}});
    return t;
  }();
  return *d;
}

inline const TypeDesc& type_for(std::uint8_t selector) {
  switch (selector % 12) {
    case 0: return scalar_type(TypeCode::Integer);
    case 1: return scalar_type(TypeCode::UInt8);
    case 2: return scalar_type(TypeCode::Int16);
    case 3: return scalar_type(TypeCode::UInt32);
    case 4: return scalar_type(TypeCode::Real);
    case 5: return scalar_type(TypeCode::Char);
    case 6: return scalar_type(TypeCode::String);
    case 7: return scalar_type(TypeCode::Binary);
    case 8: return list_type(scalar_type(TypeCode::Integer));
    case 9: return list_type(scalar_type(TypeCode::String));
    case 10: return секция_базы.record_type();
    default: return nested_type();
  }
}

[[noreturn]] inline void broken(const char* what) {
  std::fputs(what, stderr);
  std::abort();
}

inline void run_one(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The consult of the catalogue section; what loads saves and loads back to the same text.
  RNT_RetractallVar(секция_базы);
  bool loaded = true;
  try {
    RNT_ConsultText(секция_базы, text);
  } catch (const RunError&) {
    loaded = false;
  }
  if (loaded) {
    const std::string saved = RNT_SaveText(секция_базы);
    RNT_RetractallVar(секция_базы);
    RNT_ConsultText(секция_базы, saved);
    if (RNT_SaveText(секция_базы) != saved) broken("catalogue text changed on its way back\n");
  }
  RNT_RetractallVar(секция_базы);

  // One value of a chosen type; what reads writes and reads back to the same text.
  if (size == 0) return;
  const TypeDesc& type = type_for(data[0]);
  Term value;
  try {
    value = RNT_TermStr_oi(type, text.substr(1));
  } catch (const RunError&) {
    return;
  }
  const std::string written = RNT_TermStr_io(type, value);
  try {
    if (RNT_TermStr_io(type, RNT_TermStr_oi(type, written)) != written) broken("value text changed on its way back\n");
  } catch (const RunError&) {
    broken("written value does not read back\n");
  }
}

}  // namespace fuzz_consult
