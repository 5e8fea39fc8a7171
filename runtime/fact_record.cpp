// The term codec of stored records: terms into blocks and back, and matching a block against a
// pattern, all driven by the type descriptors.
#include "runtime/fact_record.h"

#include "runtime/run_error.h"

namespace fact_record {
namespace {

// Measures (block == nullptr) or writes one value whose slot lies at `slot`; `tail` is the end
// of what the block holds so far.
template <bool Write>
void encode(std::byte* block, std::size_t slot, const TypeDesc& t, const Term& v, std::size_t& tail) {
  switch (t.code) {
    case TypeCode::Real:
      if (v.is_real()) {
        if constexpr (Write) put_real(block + slot, v.as_real());
      } else if (v.is_int()) {
        if constexpr (Write) put_real(block + slot, static_cast<double>(v.as_int()));
      } else {
        RUN_ErrorExit();
      }
      return;
    case TypeCode::String:
    case TypeCode::Symbol:
    case TypeCode::Binary: {
      std::size_t n;
      const void* bytes;
      if (t.code == TypeCode::Binary) {
        if (!v.is_binary()) RUN_ErrorExit();
        n = v.as_binary().bytes.size();
        bytes = v.as_binary().bytes.data();
      } else {
        if (!v.is_string()) RUN_ErrorExit();
        n = v.as_string().size();
        bytes = v.as_string().data();
      }
      const std::size_t at = tail;
      tail += t.code == TypeCode::Binary ? n : n + 1;
      if constexpr (Write) {
        put_ref(block + slot, at, n);
        if (n != 0) std::memcpy(block + at, bytes, n);
        if (t.code != TypeCode::Binary) block[at + n] = std::byte{0};
      }
      return;
    }
    case TypeCode::List: {
      if (!v.is_list()) RUN_ErrorExit();
      const auto& items = v.as_list();
      const std::size_t at = align8(tail);
      if constexpr (Write) {
        std::memset(block + tail, 0, at - tail);
        put_ref(block + slot, at, items.size());
      }
      tail = at + kSlotSize * items.size();
      for (std::size_t i = 0; i < items.size(); ++i) encode<Write>(block, at + kSlotSize * i, *t.element, items[i], tail);
      return;
    }
    case TypeCode::Compound: {
      if (!v.is_compound()) RUN_ErrorExit();
      const auto& c = v.as_compound();
      if (c.functor >= t.functors.size()) RUN_ErrorExit();
      const auto& fields = t.functors[c.functor].fields;
      if (c.args.size() != fields.size()) RUN_ErrorExit();
      if (fields.empty()) {
        if constexpr (Write) put_ref(block + slot, 0, c.functor);
        return;
      }
      const std::size_t at = align8(tail);
      if constexpr (Write) {
        std::memset(block + tail, 0, at - tail);
        put_ref(block + slot, at, c.functor);
      }
      tail = at + kSlotSize * fields.size();
      for (std::size_t i = 0; i < fields.size(); ++i) encode<Write>(block, at + kSlotSize * i, *fields[i], c.args[i], tail);
      return;
    }
    default:  // the integral types
      if (!v.is_int()) RUN_ErrorExit();
      if constexpr (!Write) {
        if (v.as_int() < type_min(t.code) || v.as_int() > type_max(t.code)) RUN_Error(errcode::kIntOverflow);
      } else {
        put_int(block + slot, v.as_int());
      }
      return;
  }
}

void decode(const std::byte* block, const std::byte* slot, const TypeDesc& t, Term& out) {
  switch (t.code) {
    case TypeCode::Real:
      out.set_real(get_real(slot));
      return;
    case TypeCode::String:
    case TypeCode::Symbol:
      copy_text(block, slot, out.set_string());
      return;
    case TypeCode::Binary: {
      const auto* p = reinterpret_cast<const std::uint8_t*>(block + ref_offset(slot));
      out.set_binary().bytes.assign(p, p + ref_count(slot));
      return;
    }
    case TypeCode::List: {
      auto& items = out.set_list();
      const std::byte* at = block + ref_offset(slot);
      items.resize(ref_count(slot));
      for (std::size_t i = 0; i < items.size(); ++i) decode(block, at + kSlotSize * i, *t.element, items[i]);
      return;
    }
    case TypeCode::Compound: {
      auto& c = out.set_compound();
      c.functor = ref_count(slot);
      const auto& fields = t.functors[c.functor].fields;
      const std::byte* at = block + ref_offset(slot);
      c.args.resize(fields.size());
      for (std::size_t i = 0; i < fields.size(); ++i) decode(block, at + kSlotSize * i, *fields[i], c.args[i]);
      return;
    }
    default:
      out.set_int(get_int(slot));
      return;
  }
}

bool same(const std::byte* block, const std::byte* slot, const TypeDesc& t, const Term& p) {
  if (p.is_unbound()) return true;
  switch (t.code) {
    case TypeCode::Real:
      if (p.is_int()) return get_real(slot) == static_cast<double>(p.as_int());
      return p.is_real() && get_real(slot) == p.as_real();
    case TypeCode::String:
    case TypeCode::Symbol:
      return p.is_string() && p.as_string().size() == ref_count(slot) &&
             std::memcmp(block + ref_offset(slot), p.as_string().data(), ref_count(slot)) == 0;
    case TypeCode::Binary:
      return p.is_binary() && p.as_binary().bytes.size() == ref_count(slot) &&
             (ref_count(slot) == 0 ||
              std::memcmp(block + ref_offset(slot), p.as_binary().bytes.data(), ref_count(slot)) == 0);
    case TypeCode::List: {
      if (!p.is_list() || p.as_list().size() != ref_count(slot)) return false;
      const std::byte* at = block + ref_offset(slot);
      for (std::size_t i = 0; i < p.as_list().size(); ++i)
        if (!same(block, at + kSlotSize * i, *t.element, p.as_list()[i])) return false;
      return true;
    }
    case TypeCode::Compound: {
      if (!p.is_compound() || p.functor() != ref_count(slot)) return false;
      const auto& fields = t.functors[p.functor()].fields;
      if (p.args().size() != fields.size()) return false;
      const std::byte* at = block + ref_offset(slot);
      for (std::size_t i = 0; i < fields.size(); ++i)
        if (!same(block, at + kSlotSize * i, *fields[i], p.args()[i])) return false;
      return true;
    }
    default:
      return p.is_int() && get_int(slot) == p.as_int();
  }
}

template <bool Write>
std::size_t encode_fields(std::byte* block, const std::vector<const TypeDesc*>& types, const Term::List& values) {
  if (values.size() != types.size()) RUN_ErrorExit();
  std::size_t tail = kHeaderSize + kSlotSize * types.size();
  for (std::size_t i = 0; i < types.size(); ++i)
    encode<Write>(block, kHeaderSize + kSlotSize * i, *types[i], values[i], tail);
  return tail;
}

}  // namespace

std::size_t measure(const std::vector<const TypeDesc*>& types, const Term::List& values) {
  return encode_fields<false>(nullptr, types, values);
}

void write(std::byte* block, std::size_t size, std::size_t kind_index, const std::vector<const TypeDesc*>& types,
           const Term::List& values) {
  put_header(block, kind_index);
  if (encode_fields<true>(block, types, values) != size) RUN_ErrorExit();
}

void read(const std::byte* block, const std::vector<const TypeDesc*>& types, Term::List& out) {
  out.resize(types.size());
  for (std::size_t i = 0; i < types.size(); ++i) decode(block, block + kHeaderSize + kSlotSize * i, *types[i], out[i]);
}

bool match(const std::byte* block, const std::vector<const TypeDesc*>& types, const Term::List& pattern) {
  if (pattern.size() != types.size()) return false;
  for (std::size_t i = 0; i < types.size(); ++i)
    if (!same(block, block + kHeaderSize + kSlotSize * i, *types[i], pattern[i])) return false;
  return true;
}

std::size_t measure_value(const TypeDesc& type, const Term& value) {
  std::size_t tail = kSlotSize;
  encode<false>(nullptr, 0, type, value, tail);
  return tail;
}

void write_value(std::byte* block, std::size_t size, const TypeDesc& type, const Term& value) {
  std::size_t tail = kSlotSize;
  encode<true>(block, 0, type, value, tail);
  if (tail != size) RUN_ErrorExit();
}

void read_value(const std::byte* block, const TypeDesc& type, Term& out) { decode(block, block, type, out); }

}  // namespace fact_record

std::string RNT_CopyStrToGStack(const std::byte* block, const std::byte* slot) {
  return std::string(reinterpret_cast<const char*>(block + fact_record::ref_offset(slot)), fact_record::ref_count(slot));
}

void RNT_CopyTermToGStack(const TypeDesc& type, const std::byte* block, const std::byte* slot, Term& out) {
  fact_record::decode(block, slot, type, out);
}
