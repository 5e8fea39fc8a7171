// The typed face of the fact store: a kind of a section declared with the C++ type of its
// record, and its assert, enumeration, lookup, retract and findall in that type.
//
//   struct ЗаписьБазы {
//     std::int32_t код; std::string автор, наименование, категория, вид;
//     std::int32_t диск, переплет; std::string обложка;
//     auto fields() { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
//   };
//   FactSection каталог;
//   FactKind<ЗаписьБазы> база_лит{каталог, "база_лит"_cp};
//   FactSection состояние;
//   SingleKind<std::vector<std::int32_t>> списоккодов{состояние, "списоккодов"_cp, {0}};
//   DetermKind<std::tuple<Window, bool>> id_окнаобложки{состояние, "id_окнаобложки"_cp};
//
//   база_лит.asserta(запись);
//   for (const ЗаписьБазы& з : база_лит.facts()) { ... }        // chain order
//   for (auto з : база_лит.views()) std::string_view автор = з[&ЗаписьБазы::автор];
//   база_лит.retract_first([&](const ЗаписьБазы& з) { return з.код == код; });
//   auto коды = база_лит.findall([](const ЗаписьБазы& з) { return з.код; });
//
// The record type T is a struct with fields() and no functor name (its fields are the kind's
// fields), a std::tuple of field types, or any single value type for a kind of one field — a
// compound struct with a functor name included (value_typed.h lists the value types). Declare a
// section and its kinds together in one source file, the section first: globals of one file are
// made in order, and the kinds' order is the order of their declarations.
//
// Enumeration hands out `const T&` to a record that the range owns and refills at each step
// (its strings and vectors keep their capacity, so a long enumeration stops allocating); the
// reference is valid until the next step. Copy the record to keep it. The loop body may assert
// and retract freely, with the rules of fact_store.h: removing the current fact continues with
// its successor; a fact added at the back is seen unless the enumeration stood on the last fact.
// Predicates handed to the lookups and retracts only look at the record; they must not assert or
// retract themselves (the bodies of facts() and retracting() may).
#pragma once

#include <algorithm>
#include <concepts>
#include <cstring>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/fact_record_typed.h"
#include "runtime/fact_store.h"
#include "runtime/run_error.h"
#include "runtime/single_pass_range.h"

// The facts of one kind in chain order, as `const T&` valid until the next step.
template <class T>
class FactRange {
 public:
  FactRange(const FactSection& section, std::size_t kind) : enumeration_(section, kind) {}
  FactRange(const FactRange&) = delete;
  FactRange& operator=(const FactRange&) = delete;

  using iterator = SinglePassIterator<FactRange, const T&>;
  // A single pass: begin() moves to the first fact.
  iterator begin() { return iterator::first(this); }
  std::default_sentinel_t end() const { return {}; }

 private:
  friend iterator;
  const T& current() const { return current_; }
  bool advance() {
    const std::byte* record = enumeration_.step();
    if (record == nullptr) return false;
    fact_record::read_record(record, current_);
    return true;
  }
  FactEnumeration enumeration_;
  T current_{};
};

// Removes, one after another, the facts that satisfy a predicate and hands out a copy of each
// removed fact. The loop body may assert and retract; facts it adds behind the walk's position
// are examined too.
template <class T, class Pred>
class RetractRange {
 public:
  RetractRange(FactSection& section, std::size_t kind, Pred pred) : walk_(section, kind), pred_(std::move(pred)) {}
  RetractRange(const RetractRange&) = delete;
  RetractRange& operator=(const RetractRange&) = delete;

  using iterator = SinglePassIterator<RetractRange, const T&>;
  iterator begin() { return iterator::first(this); }
  std::default_sentinel_t end() const { return {}; }

 private:
  friend iterator;
  const T& current() const { return current_; }
  bool advance() {
    while (const std::byte* record = walk_.peek()) {
      fact_record::read_record(record, current_);
      if (pred_(std::as_const(current_))) {
        walk_.remove();
        return true;
      }
      walk_.skip();
    }
    return false;
  }
  FactRetractWalk walk_;
  Pred pred_;
  T current_{};
};

// A read-only look at one fact, for readers that only look: the enumeration copies the stored
// block once into a buffer of its own, and the view reads fields out of that copy. Text comes
// as std::string_view, a binary block as std::span, numbers by value, lists and compounds as
// decoded copies. Valid until the enumeration's next step; never a pointer into the store.
template <class T>
class FactView {
 public:
  explicit FactView(const std::byte* block) : block_(block) {}

  // The I-th field.
  template <std::size_t I>
  auto get() const {
    return field<std::tuple_element_t<I, fact_record::record_field_tuple<T>>>(I);
  }
  // The field `member` of a record struct: view[&ЗаписьБазы::автор].
  template <class M>
  auto operator[](M T::*member) const {
    return field<M>(index_of(member));
  }
  // The whole record, into `out` (reusing its storage) or as a new value.
  void read(T& out) const { fact_record::read_record(block_, out); }
  T record() const {
    T out{};
    read(out);
    return out;
  }

 private:
  template <class F>
  auto field(std::size_t index) const {
    const std::byte* slot = block_ + fact_record::kHeaderSize + fact_record::kSlotSize * index;
    const char* bytes = reinterpret_cast<const char*>(block_ + fact_record::ref_offset(slot));
    if constexpr (std::is_same_v<F, std::string> || std::is_same_v<F, Symbol>) {
      return std::string_view(bytes, fact_record::ref_count(slot));
    } else if constexpr (std::is_same_v<F, Binary>) {
      return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes), fact_record::ref_count(slot));
    } else {
      F out{};
      fact_record::decode_typed(block_, slot, out);
      return out;
    }
  }

  // The position of `member` among the fields that T::fields() ties; 1000 when it is not one.
  template <class M>
  static std::size_t index_of(M T::*member) {
    static_assert(fact_record::is_record_struct<T>, "fields by member need a record struct; use get<I>()");
    static T probe{};
    auto refs = probe.fields();
    const void* target = &(probe.*member);
    std::size_t index = SIZE_MAX;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      ((std::is_same_v<std::remove_cvref_t<decltype(std::get<I>(refs))>, M> &&
                static_cast<const void*>(&std::get<I>(refs)) == target
            ? (void)(index = I)
            : void()),
       ...);
    }(std::make_index_sequence<std::tuple_size_v<decltype(refs)>>{});
    if (index == SIZE_MAX) RUN_ErrorExit();
    return index;
  }

  const std::byte* block_;
};

// The facts of one kind in chain order as views; each step copies one block into the range's
// buffer, which keeps its capacity.
template <class T>
class FactViewRange {
 public:
  FactViewRange(const FactSection& section, std::size_t kind) : enumeration_(section, kind) {}
  FactViewRange(const FactViewRange&) = delete;
  FactViewRange& operator=(const FactViewRange&) = delete;

  using iterator = SinglePassIterator<FactViewRange, FactView<T>>;
  iterator begin() { return iterator::first(this); }
  std::default_sentinel_t end() const { return {}; }

 private:
  friend iterator;
  FactView<T> current() const { return FactView<T>(buffer_.get()); }
  bool advance() {
    const FactNode* node = enumeration_.step_node();
    if (node == nullptr) return false;
    if (node->size > capacity_) {
      capacity_ = std::max<std::size_t>(node->size, 2 * capacity_);
      buffer_ = std::make_unique_for_overwrite<std::byte[]>(capacity_);
    }
    std::memcpy(buffer_.get(), node->record, node->size);
    return true;
  }
  FactEnumeration enumeration_;
  std::unique_ptr<std::byte[]> buffer_;
  std::size_t capacity_ = 0;
};

namespace fact_kind_detail {
template <class T>
struct is_optional : std::false_type {};
template <class T>
struct is_optional<std::optional<T>> : std::true_type {};
}  // namespace fact_kind_detail

template <class T>
class FactKind {
 public:
  using Record = T;

  // Declares the kind as the next kind of `section` (declaration order is kind order).
  FactKind(FactSection& section, std::string_view name, std::uint8_t flags = 0)
      : section_(&section),
        kind_(section.add_kind(std::string(name), fact_record::record_types<T>(), flags)) {}

  FactSection& section() const { return *section_; }
  std::size_t index() const { return kind_; }
  const std::string& name() const { return section_->kind_name(kind_); }

  // Adds a copy of the record as the last fact (single kind: replaces the fact; determ kind with
  // a fact: run-time error 1041, nothing changes).
  void assertz(const T& record) { add(record, FactEnd::Back); }
  // Adds a copy of the record as the first fact (same rules).
  void asserta(const T& record) { add(record, FactEnd::Front); }
  // Adds a copy of the record as the fact at `position` in chain order (0: the first; count()
  // or more: the last); a single or determ kind takes it as assertz does.
  void insert_at(std::size_t position, const T& record) {
    section_->insert_block(kind_, position, fact_record::measure_record(record),
                           [&](std::byte* block) { fact_record::write_record(block, kind_, record); });
  }

  // The facts in chain order (see the header comment for what the loop body may do).
  FactRange<T> facts() const { return FactRange<T>(*section_, kind_); }
  // The same as views, for readers that look at a few fields and keep nothing: no field is
  // copied until it is asked for.
  FactViewRange<T> views() const { return FactViewRange<T>(*section_, kind_); }
  // Calls fn(const T&) for each fact in chain order; a fn returning bool stops the walk with
  // false.
  template <class Fn>
  void for_each(Fn&& fn) const {
    for (const T& record : facts()) {
      if constexpr (std::is_same_v<std::invoke_result_t<Fn&, const T&>, bool>) {
        if (!fn(record)) return;
      } else {
        fn(record);
      }
    }
  }

  // The first fact, or nothing.
  std::optional<T> first() const {
    FactEnumeration e(*section_, kind_);
    const std::byte* record = e.step();
    if (record == nullptr) return std::nullopt;
    T out{};
    fact_record::read_record(record, out);
    return out;
  }
  // The first fact that satisfies `pred`, or nothing.
  template <class Pred>
    requires std::predicate<Pred&, const T&>
  std::optional<T> first(Pred pred) const {
    for (const T& record : facts())
      if (pred(record)) return record;
    return std::nullopt;
  }
  // Whether a fact equal to `value` exists (text byte for byte, numbers by value).
  bool contains(const T& value) const {
    FactEnumeration e(*section_, kind_);
    while (const std::byte* record = e.step())
      if (fact_record::same_record(record, value)) return true;
    return false;
  }
  std::size_t count() const { return section_->count(kind_); }
  bool empty() const { return section_->chain(kind_).head == nullptr; }

  // Removes the first fact; fails when the kind has none (RNT_RetractDeterm).
  bool retract_first() { return RNT_RetractDeterm(*section_, kind_); }
  // Removes the first fact (in chain order) that satisfies `pred`; fails when none does.
  template <class Pred>
    requires std::predicate<Pred&, const T&>
  bool retract_first(Pred pred) {
    return find_and_remove(pred, scratch_);
  }
  // Removes the first fact and hands it out; nothing when the kind has no fact.
  std::optional<T> take_first() {
    return take_first([](const T&) { return true; });
  }
  // Removes the first fact that satisfies `pred` and hands it out; nothing when none does.
  template <class Pred>
    requires std::predicate<Pred&, const T&>
  std::optional<T> take_first(Pred pred) {
    std::optional<T> out(std::in_place);
    if (!find_and_remove(pred, *out)) out.reset();
    return out;
  }
  // Removes the first fact equal to `value`; fails when there is none.
  bool retract(const T& value) {
    FactRetractWalk walk(*section_, kind_);
    for (const std::byte* record; (record = walk.peek()) != nullptr; walk.skip()) {
      if (fact_record::same_record(record, value)) {
        walk.remove();
        return true;
      }
    }
    return false;
  }
  // Removes every fact; returns how many there were.
  std::size_t retract_all() {
    const std::size_t n = count();
    RNT_RetractallCmp(*section_, kind_);
    return n;
  }
  // Removes every fact that satisfies `pred`; returns how many.
  template <class Pred>
    requires std::predicate<Pred&, const T&>
  std::size_t retract_all(Pred pred) {
    std::size_t n = 0;
    for (const T& removed : retracting(std::move(pred))) {
      (void)removed;
      ++n;
    }
    return n;
  }
  // The facts that satisfy `pred`, each removed as the walk reaches it.
  template <class Pred>
    requires std::predicate<Pred&, const T&>
  RetractRange<T, Pred> retracting(Pred pred) {
    return RetractRange<T, Pred>(*section_, kind_, std::move(pred));
  }

  // All solutions: fn(const T&) for every fact in chain order, collected in that order. A fn
  // returning std::optional<R> contributes only its present values.
  template <class Fn>
  auto findall(Fn&& fn) const {
    using R = std::invoke_result_t<Fn&, const T&>;
    if constexpr (fact_kind_detail::is_optional<R>::value) {
      std::vector<typename R::value_type> out;
      for (const T& record : facts())
        if (auto v = fn(record)) out.push_back(std::move(*v));
      return out;
    } else {
      std::vector<R> out;
      for (const T& record : facts()) out.push_back(fn(record));
      return out;
    }
  }
  // Every fact, in chain order.
  std::vector<T> all() const {
    // Room for every fact at once: a long table of large records is copied without regrowing.
    std::vector<T> out;
    out.reserve(count());
    for (const T& record : facts()) out.push_back(record);
    return out;
  }

 protected:
  struct Preset {};
  // A single kind with its preset fact.
  FactKind(FactSection& section, std::string_view name, const T& preset, Preset) : section_(&section) {
    const std::size_t size = fact_record::measure_record(preset);
    auto block = std::make_unique<std::byte[]>(size);
    fact_record::write_record(block.get(), section.kind_count(), preset);
    kind_ = section.add_single_kind(std::string(name), fact_record::record_types<T>(), std::move(block), size);
  }

  // Walks the chain, decoding each fact into `current`, and removes the first that satisfies
  // `pred`; `current` then holds it.
  template <class Pred>
  bool find_and_remove(Pred& pred, T& current) {
    FactRetractWalk walk(*section_, kind_);
    for (const std::byte* record; (record = walk.peek()) != nullptr; walk.skip()) {
      fact_record::read_record(record, current);
      if (pred(std::as_const(current))) {
        walk.remove();
        return true;
      }
    }
    return false;
  }

  void add(const T& record, FactEnd end) {
    const std::size_t size = fact_record::measure_record(record);
    section_->assert_block(kind_, end, size, fact_record::record_is_flat<T>(),
                           [&](std::byte* block) { fact_record::write_record(block, kind_, record); });
  }

 private:
  FactSection* section_;
  std::size_t kind_ = 0;
  // Where retract_first(pred) decodes the facts it examines; it keeps its capacity from call to
  // call, so a search by a field does not allocate.
  T scratch_{};
};

// A kind with at most one fact.
template <class T>
class DetermKind : public FactKind<T> {
 public:
  DetermKind(FactSection& section, std::string_view name) : FactKind<T>(section, name, kFactDeterm) {}
  // The one fact, or nothing.
  std::optional<T> get() const { return this->first(); }
  // Removes the fact, if any, and adds `record`.
  void replace(const T& record) {
    RNT_RetractDeterm(this->section(), this->index());
    this->assertz(record);
  }
};

// A kind with exactly one fact, which starts as `preset` and is changed by replacing it.
template <class T>
class SingleKind : public FactKind<T> {
 public:
  SingleKind(FactSection& section, std::string_view name, const T& preset = T{})
      : FactKind<T>(section, name, preset, typename FactKind<T>::Preset{}) {}
  // The fact's value. (Only an explicit removal through the generic face can leave a single
  // kind without its fact; reading it then is run-time error 1000.)
  T get() const {
    auto v = this->first();
    if (!v) RUN_ErrorExit();
    return std::move(*v);
  }
  // Replaces the fact's value.
  void set(const T& record) { this->assertz(record); }
};
