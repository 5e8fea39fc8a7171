// The fact store's behaviour: chain order, enumerations that survive asserts and removals,
// determ and single kinds, removal by pattern, findall, the node pool and the end of the store.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "fact_findall.h"
#include "runtime/codepage.h"
#include "runtime/fact_kind.h"
#include "runtime/fact_store.h"
#include "runtime/run_error.h"

namespace {

// Cyrillic test texts as the cp1251 strings the system holds.
template <cp1251::detail::fixed_utf8 S>
std::string operator""_s() {
  return std::string(operator""_cp<S>());
}

// A section with one kind of (integer, string) facts, driven through the generic face.
struct Pairs {
  FactSection s;
  std::size_t kind = s.add_kind("pair", {&scalar_type(TypeCode::Integer), &scalar_type(TypeCode::String)});
  Term fact(std::int64_t n) { return Term::compound(0, {n, "#" + std::to_string(n)}); }
  void z(std::int64_t n) { RNT_Assertz(s, fact(n)); }
  void a(std::int64_t n) { RNT_Asserta(s, fact(n)); }
  std::vector<std::int64_t> numbers() {
    std::vector<std::int64_t> out;
    for (const Term& t : s.facts(kind)) out.push_back(t.args()[0].as_int());
    return out;
  }
};

int code_of(auto&& action) {
  try {
    action();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

using V = std::vector<std::int64_t>;

TEST(FactStoreOrder, BackAssertsInOrderFrontAssertsNewestFirst) {
  Pairs p;
  p.z(1), p.z(2), p.z(3);
  EXPECT_EQ(p.numbers(), (V{1, 2, 3}));
  p.a(0), p.a(-1);
  EXPECT_EQ(p.numbers(), (V{-1, 0, 1, 2, 3}));
  // Removals keep the order of what is left.
  EXPECT_TRUE(RNT_Retract(p.s, p.fact(1)));
  EXPECT_TRUE(RNT_RetractDeterm(p.s, p.kind));
  EXPECT_EQ(p.numbers(), (V{0, 2, 3}));

  // The record term and the stored copy are independent.
  Term t = p.fact(9);
  RNT_Assertz(p.s, t);
  t = p.fact(10);
  EXPECT_EQ(p.numbers(), (V{0, 2, 3, 9}));
}

TEST(FactStoreOrder, RemovingTheLastFactMovesTheTail) {
  Pairs p;
  p.z(1);
  ASSERT_TRUE(RNT_RetractDeterm(p.s, p.kind));
  EXPECT_EQ(p.s.chain(p.kind).head, nullptr);
  EXPECT_EQ(p.s.chain(p.kind).tail, nullptr);
  p.z(2);
  EXPECT_EQ(p.s.chain(p.kind).head, p.s.chain(p.kind).tail);
  p.z(3);
  EXPECT_EQ(p.numbers(), (V{2, 3}));

  // A pattern removal of the last fact leaves the predecessor as tail, so the next back assert
  // still lands at the end.
  EXPECT_TRUE(RNT_Retract(p.s, Term::compound(0, {3, Term::any()})));
  p.z(4);
  EXPECT_EQ(p.numbers(), (V{2, 4}));
  EXPECT_TRUE(RNT_Retract(p.s, Term::compound(0, {4, Term::any()})));
  EXPECT_TRUE(RNT_Retract(p.s, Term::compound(0, {2, Term::any()})));
  p.a(5);
  EXPECT_EQ(p.s.chain(p.kind).head, p.s.chain(p.kind).tail);
}

TEST(FactStoreEnumeration, BackAssertDuringAnEnumeration) {
  // Not yet past the old last fact: the new fact is visited.
  Pairs p;
  p.z(1), p.z(2), p.z(3);
  V seen;
  for (const Term& t : p.s.facts(p.kind)) {
    seen.push_back(t.args()[0].as_int());
    if (seen.size() == 1) p.z(4);
  }
  EXPECT_EQ(seen, (V{1, 2, 3, 4}));

  // Standing on the last fact: it has recorded that there is no next fact and ends there.
  seen.clear();
  for (const Term& t : p.s.facts(p.kind)) {
    seen.push_back(t.args()[0].as_int());
    if (t.args()[0].as_int() == 4) p.z(5);
  }
  EXPECT_EQ(seen, (V{1, 2, 3, 4}));
  EXPECT_EQ(p.numbers(), (V{1, 2, 3, 4, 5}));

  // A front assert is never visited by a pending enumeration.
  seen.clear();
  for (const Term& t : p.s.facts(p.kind)) {
    seen.push_back(t.args()[0].as_int());
    if (seen.size() == 1) p.a(0);
  }
  EXPECT_EQ(seen, (V{1, 2, 3, 4, 5}));
}

TEST(FactStoreEnumeration, RemovalsDuringAnEnumeration) {
  // Removing the fact the enumeration stands on: it continues with the successor.
  Pairs p;
  for (int i = 1; i <= 5; ++i) p.z(i);
  V seen;
  for (const Term& t : p.s.facts(p.kind)) {
    const auto n = t.args()[0].as_int();
    seen.push_back(n);
    if (n % 2 == 1) {
      ASSERT_TRUE(RNT_Retract(p.s, p.fact(n)));
    }
  }
  EXPECT_EQ(seen, (V{1, 2, 3, 4, 5}));
  EXPECT_EQ(p.numbers(), (V{2, 4}));

  // Removing the fact it would visit next: it moves on to that fact's successor.
  for (int i = 5; i <= 7; ++i) p.z(i);  // 2 4 5 6 7
  seen.clear();
  for (const Term& t : p.s.facts(p.kind)) {
    const auto n = t.args()[0].as_int();
    seen.push_back(n);
    if (n == 4) {
      ASSERT_TRUE(RNT_Retract(p.s, p.fact(5)));
    }
  }
  EXPECT_EQ(seen, (V{2, 4, 6, 7}));

  // Two pending enumerations of the same kind are both repaired.
  V outer, inner;
  for (const Term& o : p.s.facts(p.kind)) {
    outer.push_back(o.args()[0].as_int());
    for (const Term& i : p.s.facts(p.kind)) {
      inner.push_back(i.args()[0].as_int());
      if (i.args()[0].as_int() == 2) RNT_Retract(p.s, p.fact(4));  // outer's next fact
    }
  }
  EXPECT_EQ(outer, (V{2, 6, 7}));
  EXPECT_EQ(inner, (V{2, 6, 7, 2, 6, 7, 2, 6, 7}));
}

TEST(FactStoreEnumeration, RemovingEveryFactEndsTheEnumeration) {
  Pairs p;
  for (int i = 1; i <= 4; ++i) p.z(i);
  V seen;
  for (const Term& t : p.s.facts(p.kind)) {
    seen.push_back(t.args()[0].as_int());
    RNT_RetractallCmp(p.s, p.kind);
  }
  EXPECT_EQ(seen, V{1});

  for (int i = 1; i <= 4; ++i) p.z(i);
  seen.clear();
  for (const Term& t : p.s.facts(p.kind)) {
    seen.push_back(t.args()[0].as_int());
    if (seen.size() == 2) RNT_RetractallVar(p.s);
  }
  EXPECT_EQ(seen, (V{1, 2}));
  EXPECT_EQ(p.s.count(p.kind), 0u);
  // The kind is usable again; an enumeration emptied and refilled behind its position ends.
  p.z(8);
  EXPECT_EQ(p.numbers(), V{8});
}

TEST(FactStoreEnumeration, PendingRetractWalkIsRepaired) {
  FactSection s;
  FactKind<std::int32_t> k{s, "n"};
  for (int i = 1; i <= 4; ++i) k.assertz(i);
  // The walk has passed 1 and 2 and removed 3; it stands just behind 2 when the body removes 2,
  // and must go on from the link that pointed at 2.
  std::vector<std::int32_t> removed;
  for (std::int32_t n : k.retracting([](std::int32_t v) { return v == 3 || v == 5; })) {
    removed.push_back(n);
    if (n == 3) {
      EXPECT_TRUE(k.retract(2));
      k.assertz(5);  // behind the walk: examined and removed too
    }
  }
  EXPECT_EQ(removed, (std::vector<std::int32_t>{3, 5}));
  EXPECT_EQ(k.all(), (std::vector<std::int32_t>{1, 4}));

  // The body removes the fact the walk examines next.
  for (int i = 5; i <= 7; ++i) k.assertz(i);  // 1 4 5 6 7
  removed.clear();
  for (std::int32_t n : k.retracting([](std::int32_t v) { return v != 6; })) {
    removed.push_back(n);
    if (n == 4) k.retract(5);
  }
  EXPECT_EQ(removed, (std::vector<std::int32_t>{1, 4, 7}));
  EXPECT_EQ(k.all(), std::vector<std::int32_t>{6});
}

TEST(FactStoreKinds, DetermKindRaises1041AndStaysUnchanged) {
  FactSection s;
  const auto kind = s.add_kind("d", {&scalar_type(TypeCode::String)}, kFactDeterm);
  RNT_Assertz(s, Term::compound(0, {"first"}));
  const FactNode* node = s.chain(kind).head;
  const auto before = fact_pool_stats();
  EXPECT_EQ(code_of([&] { RNT_Assertz(s, Term::compound(0, {"second"})); }), errcode::kSecondFact);
  EXPECT_EQ(code_of([&] { RNT_Asserta(s, Term::compound(0, {"second"})); }), errcode::kSecondFact);
  EXPECT_EQ(code_of([&] { RNT_AssertzSimple(s, Term::compound(0, {"second"})); }), errcode::kSecondFact);
  EXPECT_EQ(s.chain(kind).head, node);
  EXPECT_EQ(s.chain(kind).tail, node);
  EXPECT_EQ(fact_pool_stats().free_nodes, before.free_nodes);
  for (const Term& t : s.facts(kind)) EXPECT_EQ(t.args()[0].as_string(), "first");

  ASSERT_TRUE(RNT_RetractDeterm(s, kind));
  EXPECT_FALSE(RNT_RetractDeterm(s, kind));  // fails on an empty kind
  RNT_Asserta(s, Term::compound(0, {"second"}));
  EXPECT_EQ(s.count(kind), 1u);
}

TEST(FactStoreKinds, SingleKindReplacesItsOneFact) {
  FactSection s;
  s.add_kind("filler", {});
  const auto text = s.add_kind("name", {&scalar_type(TypeCode::String)}, kFactSingle, {""});
  const auto ticks = s.add_kind("ticks", {&scalar_type(TypeCode::Integer)}, kFactSingle, {0});
  EXPECT_EQ(s.kind_flags(text), kFactSingle | kFactDeterm);
  EXPECT_EQ(s.count(text), 1u);

  // Replacing the preset never frees its static block (the sanitizer build checks this).
  RNT_Assertz(s, Term::compound(1, {"обложка.bmp"_s}));
  RNT_Asserta(s, Term::compound(1, {"другая.bmp"_s}));
  std::vector<std::string> seen;
  for (const Term& t : s.facts(text)) seen.push_back(t.args()[0].as_string());
  EXPECT_EQ(seen, std::vector<std::string>{"другая.bmp"_s});

  // A flat single kind is overwritten in place once its block is a heap block.
  RNT_AssertzSimple(s, Term::compound(2, {1}));
  const std::byte* block = s.chain(ticks).head->record;
  RNT_AssertzSimple(s, Term::compound(2, {2}));
  EXPECT_EQ(s.chain(ticks).head->record, block);
  RNT_Assertz(s, Term::compound(2, {3}));  // the plain assert makes a new block
  int n = 0;
  for (const Term& t : s.facts(ticks)) {
    EXPECT_EQ(t.args()[0].as_int(), 3);
    ++n;
  }
  EXPECT_EQ(n, 1);

  // Replacing it while an enumeration stands on it: the enumeration has its copy and ends.
  for (const Term& t : s.facts(ticks)) {
    RNT_AssertzSimple(s, Term::compound(2, {4}));
    EXPECT_EQ(t.args()[0].as_int(), 3);
  }

  // Only an explicit removal empties a single kind; an assert then makes its fact again.
  SingleKind<std::int32_t> mode{s, "mode", 2};
  EXPECT_TRUE(RNT_RetractDeterm(s, mode.index()));
  EXPECT_EQ(code_of([&] { mode.get(); }), errcode::kNoCase);
  mode.set(0);
  EXPECT_EQ(mode.get(), 0);

  // The end of the store brings every single kind back to its preset.
  RNT_FC_Terminate();
  EXPECT_EQ(mode.get(), 2);
  for (const Term& t : s.facts(text)) EXPECT_EQ(t.args()[0].as_string(), "");
  EXPECT_EQ(s.count(0), 0u);
}

TEST(FactStoreKinds, BadRecordsAreRejectedBeforeAnythingChanges) {
  Pairs p;
  p.z(1);
  EXPECT_EQ(code_of([&] { RNT_Assertz(p.s, Term::compound(0, {"x", "y"})); }), errcode::kNoCase);
  EXPECT_EQ(code_of([&] { RNT_Assertz(p.s, Term::compound(0, {1})); }), errcode::kNoCase);
  EXPECT_EQ(code_of([&] { RNT_Assertz(p.s, Term::compound(3, {1, "x"})); }), errcode::kNoCase);
  EXPECT_EQ(code_of([&] { RNT_Assertz(p.s, Term::compound(0, {std::int64_t{1} << 31, "x"})); }), errcode::kIntOverflow);
  FactSection s;
  s.add_kind("u8", {&scalar_type(TypeCode::UInt8)});
  EXPECT_EQ(code_of([&] { RNT_Assertz(s, Term::compound(0, {256})); }), errcode::kIntOverflow);
  EXPECT_EQ(code_of([&] { RNT_Assertz(s, Term::compound(0, {-1})); }), errcode::kIntOverflow);
  EXPECT_EQ(code_of([&] { s.add_kind("one", {&scalar_type(TypeCode::Integer)}, kFactSingle); }), errcode::kNoCase);
  EXPECT_EQ(p.numbers(), V{1});
  EXPECT_EQ(s.count(0), 0u);
  // A record the heap cannot give (or the block layout cannot address) is the memory error.
  EXPECT_EQ(code_of([] { fact_block_alloc(std::size_t{1} << 33); }), errcode::kFactMemory);
}

TEST(FactStoreSections, GenericWalkInDeclarationAndChainOrder) {
  FactSection s;
  const TypeDesc& strings = list_type(scalar_type(TypeCode::String));
  s.add_kind("виды"_s, {&scalar_type(TypeCode::String)});
  s.add_kind("флаг"_s, {});
  s.add_kind("списки"_s, {&strings, &scalar_type(TypeCode::Real)});
  EXPECT_EQ(s.find_kind("флаг"_s), 1u);
  EXPECT_FALSE(s.find_kind("нет"_s));
  EXPECT_EQ(s.record_type().functors[2].name, "списки"_s);

  RNT_Assertz(s, Term::compound(2, {Term::List{"a", "b"}, 2.5}));
  RNT_Assertz(s, Term::compound(0, {"поэзия"_s}));
  RNT_Assertz(s, Term::compound(1));
  RNT_Asserta(s, Term::compound(0, {"проза"_s}));
  std::vector<Term> walk;
  s.for_each_fact([&](const Term& t) { walk.push_back(t); });
  EXPECT_EQ(walk, (std::vector<Term>{Term::compound(0, {"проза"_s}), Term::compound(0, {"поэзия"_s}), Term::compound(1),
                                     Term::compound(2, {Term::List{"a", "b"}, 2.5})}));

  EXPECT_EQ(RNT_RetractAll(s, Term::compound(0, {Term::any()})), 2u);
  EXPECT_FALSE(RNT_Retract(s, Term::compound(2, {Term::List{"a"}, Term::any()})));
  EXPECT_TRUE(RNT_Retract(s, Term::compound(2, {Term::List{"a", "b"}, 2.5})));
}

TEST(FactStoreFindall, CollectsDeepCopiesInOrder) {
  Pairs p;
  const TypeDesc& str = scalar_type(TypeCode::String);
  FindallCollector none;
  EXPECT_EQ(RNT_FindallSlut(list_type(str), none), Term(Term::List{}));

  for (int i = 1; i <= 3; ++i) p.z(i);
  FindallCollector c;
  for (const Term& t : p.s.facts(p.kind)) {
    RNT_FindallAlloc(str, t.args()[1], c);
    RNT_RetractDeterm(p.s, p.kind);  // the goal changes the store; the copies stay
  }
  EXPECT_EQ(RNT_FindallSlut(list_type(str), c), Term(Term::List{"#1", "#2", "#3"}));
  EXPECT_TRUE(c.empty());

  // Plain scalars are not copied by the collector: 1051; they are collected as cells.
  const TypeDesc& integer = scalar_type(TypeCode::Integer);
  EXPECT_EQ(code_of([&] { RNT_FindallAlloc(integer, 5, c); }), errcode::kFindallType);
  EXPECT_EQ(code_of([&] { RNT_FindallAlloc(scalar_type(TypeCode::Real), 0.5, c); }), errcode::kFindallType);
  EXPECT_EQ(code_of([&] { RNT_FindallCell(str, "x", c); }), errcode::kFindallType);
  RNT_FindallCell(integer, 5, c);
  RNT_FindallCell(integer, -6, c);
  EXPECT_EQ(RNT_FindallSlut(list_type(integer), c), Term(Term::List{5, -6}));

  // Compounds and lists are deep copies too; a collector abandoned by an error frees its copies.
  const TypeDesc& pairs = p.s.record_type();
  FindallCollector abandoned;
  RNT_FindallAlloc(pairs, p.fact(7), abandoned);
  RNT_FindallAlloc(list_type(str), Term::List{"a"}, abandoned);
  EXPECT_FALSE(abandoned.empty());
}

TEST(FactStorePool, NodesComeFromBlocksOfAThousandAndAreReused) {
  RNT_FC_Terminate();
  EXPECT_EQ(fact_pool_stats().blocks, 0u);
  FactSection s;
  FactKind<std::int32_t> k{s, "n"};
  for (int i = 0; i < 1000; ++i) k.assertz(i);
  EXPECT_EQ(fact_pool_stats().blocks, 1u);
  EXPECT_EQ(fact_pool_stats().free_nodes, 0u);
  k.assertz(1000);
  EXPECT_EQ(fact_pool_stats().blocks, 2u);
  EXPECT_EQ(fact_pool_stats().free_nodes, 999u);
  EXPECT_EQ(k.retract_all([](std::int32_t v) { return v < 500; }), 500u);
  EXPECT_EQ(fact_pool_stats().free_nodes, 1499u);
  for (int i = 0; i < 1499; ++i) k.asserta(i);
  EXPECT_EQ(fact_pool_stats().blocks, 2u);
  EXPECT_EQ(fact_pool_stats().free_nodes, 0u);
  EXPECT_EQ(k.count(), 2000u);

  // The end of the store releases every block, ends pending enumerations and empties pending
  // findall collectors.
  FindallCollector pending;
  RNT_FindallAlloc(scalar_type(TypeCode::String), "x", pending);
  std::size_t visited = 0;
  for (std::int32_t v : k.facts()) {
    (void)v;
    ++visited;
    RNT_FC_Terminate();
  }
  EXPECT_EQ(visited, 1u);
  EXPECT_EQ(fact_pool_stats().blocks, 0u);
  EXPECT_TRUE(pending.empty());
  EXPECT_TRUE(k.empty());
  k.assertz(1);
  EXPECT_EQ(k.all(), std::vector<std::int32_t>{1});
}

}  // namespace
