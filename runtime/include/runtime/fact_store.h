// The fact store: fact sections with their kind tables and chains, assert at the back and at
// the front, enumeration in chain order, removal with the repair of pending enumerations, and
// the end of the store. The typed face for the program's own tables is fact_kind.h; this header
// is the generic face (terms, kinds by 0-based index) that the fact-file reader and writer use.
//
// Chains and cursors. Each kind keeps a chain of nodes from head to tail; enumeration order is
// always chain order. A pending enumeration (FactEnumeration) holds the node it visits next; a
// pending retract walk (FactRetractWalk) holds the link that points at the next node it
// examines. Both are registered while they exist, and every removal repairs them:
//   - an enumeration whose next node is removed moves on to that node's successor;
//   - a retract walk positioned just behind the removed node is moved to the link that pointed
//     at it (which now points at the successor).
// So, while an enumeration of a kind is pending, the code it runs may:
//   - remove the fact it stands on: the enumeration continues with that fact's successor;
//   - remove any other fact, or all facts: the enumeration never visits a removed fact and ends
//     when none is left;
//   - add a fact at the back: the enumeration visits it if it has not yet passed the old last
//     fact; standing on the last fact it has already recorded that there is no next fact and
//     ends there;
//   - add a fact at the front: the enumeration has passed the head and does not visit it;
//   - replace the fact of a single kind: the enumeration yields the value it has copied.
// A pending retract walk's own code may likewise remove any fact (the walk goes on from where it
// stood) and add facts at the back (the walk examines them when it gets there).
// Values handed out are always copies the caller owns; no pointer into a stored record escapes.
//
// The generic face in use, as a save and a consult do it:
//   section.for_each_fact([&](const Term& fact) {          // kinds in declaration order,
//     const std::size_t k = fact.functor();                 // facts in chain order
//     write(section.kind_name(k), section.kind_fields(k), fact.args());
//   });
//   Term fact = parse(line, section.record_type());         // Term::compound(kind, fields)
//   RNT_Assertz(section, fact);
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/fact_pool.h"
#include "runtime/fact_record.h"
#include "runtime/scope_exit.h"
#include "runtime/single_pass_range.h"
#include "runtime/value_term.h"
#include "runtime/value_type.h"

// Kind flags.
inline constexpr std::uint8_t kFactDeterm = 4;  // at most one fact
inline constexpr std::uint8_t kFactSingle = 8;  // exactly one fact; always together with kFactDeterm

enum class FactEnd { Back, Front };

// A pending enumeration's or retract walk's position, registered with the store while it
// exists so that every removal can repair it.
class FactCursor {
 public:
  FactCursor();
  ~FactCursor();
  FactCursor(const FactCursor&) = delete;
  FactCursor& operator=(const FactCursor&) = delete;

  FactNode* next = nullptr;   // enumeration: the node to visit next (null: none left)
  FactNode** link = nullptr;  // retract walk: the link that points at the next node to examine

 private:
  friend void RNT_FinishRetract(FactNode* node, FactNode** link);
  friend void RNT_FC_Terminate();
  FactCursor* prev_ = nullptr;
  FactCursor* after_ = nullptr;
};

struct FactChain {
  FactNode* head = nullptr;
  FactNode* tail = nullptr;
};

class FactSection {
 public:
  FactSection();
  ~FactSection();  // removes every fact
  FactSection(const FactSection&) = delete;
  FactSection& operator=(const FactSection&) = delete;

  // Declares the next kind (declaration order is kind order) and returns its 0-based index.
  // kFactSingle implies kFactDeterm; a single kind starts with its preset fact, whose field
  // values `preset` gives. At most 255 kinds of at most 255 fields; a bad declaration raises 1000.
  std::size_t add_kind(std::string name, std::vector<const TypeDesc*> fields, std::uint8_t flags = 0,
                       const Term::List& preset = {});
  // Declares a single kind whose preset fact is `preset`, a block of `size` bytes in the record
  // layout (its kind number is filled in). The kind keeps the block for the whole run; replacing
  // the fact never frees it.
  std::size_t add_single_kind(std::string name, std::vector<const TypeDesc*> fields,
                              std::unique_ptr<std::byte[]> preset, std::size_t size);

  std::size_t kind_count() const { return kinds_.size(); }
  const std::string& kind_name(std::size_t kind) const { return record_type_.functors[kind].name; }
  const std::vector<const TypeDesc*>& kind_fields(std::size_t kind) const { return record_type_.functors[kind].fields; }
  std::uint8_t kind_flags(std::size_t kind) const { return kinds_[kind].flags; }
  // The fields of the kind hold no text, bytes, lists or sub-records.
  bool kind_is_flat(std::size_t kind) const { return kinds_[kind].flat; }
  std::optional<std::size_t> find_kind(std::string_view name) const;
  // The domain whose functors are the kinds: a fact term is a compound value of it, its functor
  // the kind's index and its arguments the fields.
  const TypeDesc& record_type() const { return record_type_; }

  FactChain& chain(std::size_t kind) { return kinds_[kind].chain; }
  const FactChain& chain(std::size_t kind) const { return kinds_[kind].chain; }
  std::size_t count(std::size_t kind) const;

  // Adds a record of `size` bytes that `write(block)` fills, at the back or the front of the
  // kind's chain. For a single kind the record replaces the one fact; with `in_place` it is
  // written over the old block when that block is large enough and not the preset. A second fact
  // of a determ kind raises 1041 before anything is allocated or written.
  template <class Write>
  void assert_block(std::size_t kind, FactEnd end, std::size_t size, bool in_place, Write&& write);
  // Adds a record of `size` bytes that `write(block)` fills so that it becomes the fact at
  // `position` in chain order (0: the front; the count or more: the back). A single or determ
  // kind takes it as assert_block at the back does. A pending enumeration visits the new fact
  // when it lands after the fact the enumeration visits next; a pending retract walk examines
  // it when it gets there.
  template <class Write>
  void insert_block(std::size_t kind, std::size_t position, std::size_t size, Write&& write);

  // Unlinks the node that `*link` points at from the kind's chain (the tail moves back to the
  // predecessor when the node was last) and returns it; the caller then calls RNT_FinishRetract.
  FactNode* unlink(std::size_t kind, FactNode** link);

  // Generic enumeration: the facts of one kind as fact terms, or of every kind in declaration
  // order (what a save writes).
  class TermRange;
  TermRange facts(std::size_t kind);
  template <class Fn>
  void for_each_fact(Fn&& fn);

 private:
  friend void RNT_FC_Terminate();

  struct KindState {
    FactChain chain;
    std::uint8_t flags = 0;
    bool flat = false;
    FactNode preset_node;
    std::unique_ptr<std::byte[]> preset_block;
    std::uint32_t preset_size = 0;
  };

  // The one node of a single kind to replace (null when it has none); raises 1041 for a determ
  // kind that holds a fact.
  FactNode* prepare_assert(std::size_t kind);
  void link_new(std::size_t kind, FactEnd end, std::byte* block, std::size_t size);
  void link_at(std::size_t kind, std::size_t position, std::byte* block, std::size_t size);
  static void replace_record(FactNode* node, std::byte* block, std::size_t size);
  std::size_t declare(std::string name, std::vector<const TypeDesc*> fields, std::uint8_t flags);
  void install_preset(std::size_t kind, std::unique_ptr<std::byte[]> block, std::size_t size);
  void reset_to_preset(std::size_t kind);

  TypeDesc record_type_;
  std::deque<KindState> kinds_;  // stable addresses: cursors and links point into the chains
  FactSection* prev_ = nullptr;  // every live section, for RNT_FC_Terminate
  FactSection* after_ = nullptr;
};

// A pending enumeration of one kind. step() hands out the record of the next fact in chain
// order (step_node() its node, whose size is the record block's), or null when none is left; the
// caller copies what it needs from the record before any other code runs.
class FactEnumeration {
 public:
  FactEnumeration(const FactSection& section, std::size_t kind) { cursor_.next = section.chain(kind).head; }
  const FactNode* step_node() {
    FactNode* node = cursor_.next;
    if (node == nullptr) return nullptr;
    cursor_.next = node->next;
    if (cursor_.next != nullptr) __builtin_prefetch(cursor_.next->record);  // while the caller copies this one
    return node;
  }
  const std::byte* step() {
    const FactNode* node = step_node();
    return node != nullptr ? node->record : nullptr;
  }

 private:
  FactCursor cursor_;
};

// A pending retract walk over one kind: it examines the facts in chain order and removes the
// ones its user chooses, while other code may add and remove facts between its steps.
class FactRetractWalk {
 public:
  FactRetractWalk(FactSection& section, std::size_t kind) : section_(section), kind_(kind) {
    cursor_.link = &section.chain(kind).head;
  }
  // The record of the fact under examination, or null at the end.
  const std::byte* peek() const {
    return cursor_.link != nullptr && *cursor_.link != nullptr ? (*cursor_.link)->record : nullptr;
  }
  // Moves on to the next fact.
  void skip() { cursor_.link = &(*cursor_.link)->next; }
  // Removes the fact under examination; the walk then examines its successor.
  void remove();

 private:
  FactSection& section_;
  std::size_t kind_;
  FactCursor cursor_;
};

class FactSection::TermRange {
 public:
  TermRange(FactSection& section, std::size_t kind);
  TermRange(const TermRange&) = delete;
  TermRange& operator=(const TermRange&) = delete;

  using iterator = SinglePassIterator<TermRange, const Term&>;
  // A single pass: begin() moves to the first fact.
  iterator begin() { return iterator::first(this); }
  std::default_sentinel_t end() const { return {}; }

 private:
  friend iterator;
  const Term& current() const { return current_; }
  bool advance();
  FactSection& section_;
  std::size_t kind_;
  FactEnumeration enumeration_;
  Term current_;
};

inline FactSection::TermRange FactSection::facts(std::size_t kind) { return TermRange(*this, kind); }

template <class Fn>
void FactSection::for_each_fact(Fn&& fn) {
  for (std::size_t k = 0; k < kind_count(); ++k)
    for (const Term& record : facts(k)) fn(record);
}

template <class Write>
void FactSection::assert_block(std::size_t kind, FactEnd end, std::size_t size, bool in_place, Write&& write) {
  FactNode* one = prepare_assert(kind);
  if (one != nullptr && in_place && (one->flags & kNodeStaticRecord) == 0 && one->size >= size) {
    write(one->record);
    return;
  }
  std::byte* block = fact_block_alloc(size);
  auto freed = on_scope_exit([&] { fact_block_free(block, static_cast<std::uint32_t>(size)); });
  write(block);
  freed.dismiss();
  if (one != nullptr)
    replace_record(one, block, size);
  else
    link_new(kind, end, block, size);
}

template <class Write>
void FactSection::insert_block(std::size_t kind, std::size_t position, std::size_t size, Write&& write) {
  if (kinds_[kind].flags & kFactDeterm) {
    assert_block(kind, FactEnd::Back, size, false, std::forward<Write>(write));
    return;
  }
  std::byte* block = fact_block_alloc(size);
  auto freed = on_scope_exit([&] { fact_block_free(block, static_cast<std::uint32_t>(size)); });
  write(block);
  freed.dismiss();
  link_at(kind, position, block, size);
}

// The operations of the store on fact terms: a record is a compound value of the section's
// record_type() whose functor is the kind's index.

// Adds a deep copy of the record as the last fact of its kind (single: replaces the fact).
void RNT_Assertz(FactSection& section, const Term& record);
// Adds a deep copy of the record as the first fact of its kind (single: replaces the fact).
void RNT_Asserta(FactSection& section, const Term& record);
// As RNT_Assertz; for a kind without text, lists or sub-records the replacement of a single
// kind's fact is written in place when the old block is large enough.
void RNT_AssertzSimple(FactSection& section, const Term& record);
// Removes the first fact of the kind; fails when the kind has none.
bool RNT_RetractDeterm(FactSection& section, std::size_t kind);
// Removes every fact of the kind.
void RNT_RetractallCmp(FactSection& section, std::size_t kind);
// Removes every fact of every kind of the section, in kind order.
void RNT_RetractallVar(FactSection& section);
// Removes the first fact (in chain order) that matches the pattern: a compound of the record
// type whose unbound arguments match anything. Fails when none matches.
bool RNT_Retract(FactSection& section, const Term& pattern);
// Removes every fact that matches the pattern; returns how many.
std::size_t RNT_RetractAll(FactSection& section, const Term& pattern);
// Completes the removal of a node already unlinked through `link`: repairs every pending
// enumeration and retract walk, frees the stored record, returns the node to the pool.
void RNT_FinishRetract(FactNode* node, FactNode** link);
// The end of the store: empties every chain (single kinds are back at their preset fact),
// frees the stored records, ends every pending enumeration, empties every findall collector and
// releases the node pool.
void RNT_FC_Terminate();
