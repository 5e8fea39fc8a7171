// The typed face of the fact store: every value type survives a store and a read back, typed and
// generic users see the same facts, and the typed lookups, retracts and findall.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/fact_kind.h"
#include "runtime/run_error.h"

namespace {

// Cyrillic test texts as the cp1251 strings the system holds.
template <cp1251::detail::fixed_utf8 S>
std::string operator""_s() {
  return std::string(operator""_cp<S>());
}

struct ЗаписьБазы {
  std::int32_t код = 0;
  std::string автор, наименование, категория, вид;
  std::int32_t диск = 0, переплет = 0;
  std::string обложка;
  auto fields() { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
  bool operator==(const ЗаписьБазы&) const = default;
};

ЗаписьБазы record(std::int32_t code, std::string author = "Пушкин А.С."_s) {
  return ЗаписьБазы{code, author, "Евгений Онегин"_s, "Поэзия"_s, "", 1, 0, "онегин.bmp"};
}

// A record that holds one field of every scalar type, each at a limit.
struct Limits {
  char c = 0;
  std::uint8_t u8 = 0;
  std::int8_t i8 = 0;
  std::uint16_t u16 = 0;
  std::int16_t i16 = 0;
  std::uint32_t u32 = 0;
  std::int32_t i32 = 0;
  ULongInt ul;
  LongInt l;
  double r = 0;
  Binary bin;
  RefNumber ref;
  std::string s;
  Symbol sym;
  bool flag = false;
  auto fields() { return std::tie(c, u8, i8, u16, i16, u32, i32, ul, l, r, bin, ref, s, sym, flag); }
  bool operator==(const Limits&) const = default;
};

struct Point {
  static constexpr std::string_view functor = "pnt";
  std::int32_t x = 0, y = 0;
  auto fields() { return std::tie(x, y); }
  bool operator==(const Point&) const = default;
};
struct tb_top {
  static constexpr std::string_view functor = "tb_top";
  auto fields() { return std::tie(); }
  bool operator==(const tb_top&) const = default;
};
struct tb_inside {
  static constexpr std::string_view functor = "tb_inside";
  Point at;
  auto fields() { return std::tie(at); }
  bool operator==(const tb_inside&) const = default;
};
struct tb_lbut {
  static constexpr std::string_view functor = "tb_lbut";
  std::uint32_t id = 0;
  std::uint16_t width = 0;
  std::vector<std::string> items;
  std::int32_t flag = 0, selected = 0;
  auto fields() { return std::tie(id, width, items, flag, selected); }
  bool operator==(const tb_lbut&) const = default;
};
using Placement = std::variant<tb_top, tb_inside, tb_lbut>;

enum class ButtonStyle { pushb, checkb };

// A tree whose nodes hold lists of trees: a domain that contains itself.
struct Tree {
  static constexpr std::string_view functor = "node";
  std::string label;
  std::vector<Tree> children;
  auto fields() { return std::tie(label, children); }
  bool operator==(const Tree&) const = default;
};

}  // namespace

template <>
struct FactEnumNames<ButtonStyle> {
  static constexpr std::array<std::string_view, 2> names{"pushb", "checkb"};
};

namespace {

TEST(FactKindTypes, DescriptorsFollowTheCxxTypes) {
  const std::array<const TypeDesc*, 14> scalars{
      &type_of<char>(),         &type_of<std::uint8_t>(), &type_of<std::int8_t>(), &type_of<std::uint16_t>(),
      &type_of<std::int16_t>(), &type_of<std::uint32_t>(), &type_of<std::int32_t>(), &type_of<ULongInt>(),
      &type_of<LongInt>(),      &type_of<double>(),       &type_of<Binary>(),      &type_of<RefNumber>(),
      &type_of<std::string>(),  &type_of<Symbol>()};
  for (std::size_t i = 0; i < scalars.size(); ++i) EXPECT_EQ(scalars[i]->code, static_cast<TypeCode>(i + 1));

  const TypeDesc& lists = type_of<std::vector<std::vector<std::int32_t>>>();
  EXPECT_EQ(lists.code, TypeCode::List);
  EXPECT_EQ(lists.element, &type_of<std::vector<std::int32_t>>());
  EXPECT_EQ(lists.element->element, &scalar_type(TypeCode::Integer));

  const TypeDesc& placement = type_of<Placement>();
  ASSERT_EQ(placement.functors.size(), 3u);
  EXPECT_EQ(placement.functors[0].name, "tb_top");
  EXPECT_TRUE(placement.functors[0].fields.empty());
  EXPECT_EQ(placement.functors[1].fields[0], &type_of<Point>());
  EXPECT_EQ(placement.functors[2].fields[2], &list_type(scalar_type(TypeCode::String)));
  EXPECT_FALSE(placement.is_enumeration());
  EXPECT_TRUE(type_of<ButtonStyle>().is_enumeration());
  EXPECT_TRUE(type_of<ButtonStyle>().is_flat());
  EXPECT_EQ(type_of<ButtonStyle>().functor_index("checkb"), 1);

  const TypeDesc& tree = type_of<Tree>();
  EXPECT_EQ(tree.functors[0].fields[1]->element, &tree);
}

TEST(FactKindTypes, EveryValueTypeSurvivesStoreAndReadBack) {
  FactSection s;
  FactKind<Limits> limits{s, "limits"};
  Limits low;
  low.c = '\x01';
  low.i8 = -128;
  low.i16 = -32768;
  low.i32 = std::numeric_limits<std::int32_t>::min();
  low.l.value = std::numeric_limits<std::int32_t>::min();
  low.r = -1.5e-300;
  Limits high;
  high.c = '\xFF';  // я
  high.u8 = 255;
  high.i8 = 127;
  high.u16 = 65535;
  high.i16 = 32767;
  high.u32 = 4294967295u;
  high.i32 = 2147483647;
  high.ul.value = 4294967295u;
  high.l.value = 2147483647;
  high.r = 1.7976931348623157e308;
  high.bin.bytes = {0, 1, 0x7F, 0x80, 0xFF, 0};
  high.ref.value = 0xDEADBEEF;
  high.s = "Ёлка, ёж и \"кавычки\"\\\r\n\t"_s;
  high.sym.text = "символ"_s;
  high.flag = true;
  limits.assertz(low);
  limits.assertz(high);
  EXPECT_EQ(limits.all(), (std::vector<Limits>{low, high}));

  // The same facts read generically carry the same values.
  std::vector<Term> terms;
  for (const Term& t : s.facts(limits.index())) terms.push_back(t);
  ASSERT_EQ(terms.size(), 2u);
  EXPECT_EQ(terms[1].args()[0].as_int(), 255);  // a char is its byte value
  EXPECT_EQ(terms[0].args()[2].as_int(), -128);
  EXPECT_EQ(terms[1].args()[5].as_int(), 4294967295);
  EXPECT_EQ(terms[1].args()[12].as_string(), high.s);
  EXPECT_EQ(terms[1].args()[10].as_binary(), high.bin);
}

TEST(FactKindTypes, ListsCompoundsDomainsAndRecursiveValues) {
  FactSection s;
  FactKind<std::tuple<Placement, std::vector<Placement>, ButtonStyle>> controls{s, "controls"};
  FactKind<Tree> trees{s, "trees"};
  FactKind<std::vector<std::vector<std::string>>> nested{s, "nested"};

  const auto a = std::make_tuple(Placement{tb_inside{Point{-3, 7}}},
                                 std::vector<Placement>{tb_top{}, tb_lbut{10, 120, {"один"_s}, 1, 0},
                                                        tb_lbut{11, 0, {}, 0, -1}},
                                 ButtonStyle::checkb);
  const auto b = std::make_tuple(Placement{tb_top{}}, std::vector<Placement>{}, ButtonStyle::pushb);
  controls.assertz(a);
  controls.assertz(b);
  EXPECT_EQ(controls.all(), (std::vector{a, b}));
  EXPECT_TRUE(controls.contains(b));
  EXPECT_FALSE(controls.contains(std::make_tuple(Placement{tb_top{}}, std::vector<Placement>{}, ButtonStyle::checkb)));

  // A range reuses its record: the alternatives of a domain must switch from fact to fact.
  std::vector<std::size_t> kinds;
  for (const auto& c : controls.facts()) kinds.push_back(std::get<0>(c).index());
  EXPECT_EQ(kinds, (std::vector<std::size_t>{1, 0}));

  const Tree t{"корень"_s, {Tree{"a", {}}, Tree{"b", {Tree{"c", {}}, Tree{"", {}}}}}};
  trees.asserta(t);
  EXPECT_EQ(trees.first(), t);

  const std::vector<std::vector<std::string>> lists{{}, {"x", ""}, {"длинная строка"_s}};
  nested.assertz(lists);
  nested.assertz({});
  EXPECT_EQ(nested.all(), (std::vector<std::vector<std::vector<std::string>>>{lists, {}}));
}

TEST(FactKindTypes, TypedAndGenericFactsAreTheSame) {
  FactSection s;
  FactKind<std::tuple<std::int32_t, std::string, std::vector<Point>>> k{s, "k"};
  const Term generic = Term::compound(0, {Term(5), Term("пять"_s), Term(Term::List{Term::compound(0, {1, 2})})});
  RNT_Assertz(s, generic);
  k.assertz({6, "шесть"_s, {{3, 4}, {5, 6}}});
  const auto all = k.all();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0], std::make_tuple(5, "пять"_s, std::vector<Point>{{1, 2}}));
  std::vector<Term> terms;
  for (const Term& t : s.facts(0)) terms.push_back(t);
  EXPECT_EQ(terms[0], generic);
  EXPECT_EQ(terms[1].args()[2].as_list()[1], Term::compound(0, {5, 6}));
  // Single values cross between the two faces.
  const Placement lbut = tb_lbut{7, 80, {"а"_s, "б"_s}, 1, 2};
  const Term lbut_term = to_term(lbut);
  EXPECT_EQ(lbut_term, Term::compound(2, {7, 80, Term::List{"а"_s, "б"_s}, 1, 2}));
  EXPECT_EQ(from_term<Placement>(lbut_term), lbut);
  EXPECT_EQ(to_term(ButtonStyle::checkb), Term::compound(1));
  EXPECT_EQ(from_term<std::vector<std::int16_t>>(Term::List{-32768, 32767}), (std::vector<std::int16_t>{-32768, 32767}));
  EXPECT_THROW(from_term<std::int16_t>(Term(32768)), RunError);
  EXPECT_THROW(from_term<Placement>(Term::compound(3)), RunError);
  EXPECT_THROW(from_term<std::string>(Term(1)), RunError);

  // A generic pattern with unbound fields finds the typed fact.
  EXPECT_TRUE(RNT_Retract(s, Term::compound(0, {Term::any(), "шесть"_s, Term::any()})));
  EXPECT_EQ(k.count(), 1u);
}

TEST(FactKindApi, CatalogueLookupsRetractsAndFindall) {
  FactSection каталог;
  FactKind<ЗаписьБазы> база_лит{каталог, "база_лит"_cp};
  EXPECT_EQ(база_лит.name(), "база_лит"_s);
  EXPECT_FALSE(база_лит.first());
  EXPECT_TRUE(база_лит.findall([](const ЗаписьБазы& r) { return r.код; }).empty());
  for (int code = 1; code <= 5; ++code) база_лит.asserta(record(code, code % 2 ? "Толстой"_s : "Гоголь"_s));
  база_лит.assertz(record(3, "Чехов"_s));

  // Chain order: front asserts newest first, the back assert last.
  EXPECT_EQ(база_лит.findall([](const ЗаписьБазы& r) { return r.код; }), (std::vector<std::int32_t>{5, 4, 3, 2, 1, 3}));
  auto odd_authors = база_лит.findall([](const ЗаписьБазы& r) -> std::optional<std::string> {
    if (r.код % 2 == 0) return std::nullopt;
    return r.автор;
  });
  EXPECT_EQ(odd_authors, (std::vector<std::string>{"Толстой"_s, "Толстой"_s, "Толстой"_s, "Чехов"_s}));
  EXPECT_EQ(база_лит.first([](const ЗаписьБазы& r) { return r.код == 3; })->автор, "Толстой"_s);

  // Removing by code takes the first in chain order; exact removal compares every field.
  EXPECT_EQ(база_лит.take_first([](const ЗаписьБазы& r) { return r.код == 3; })->автор, "Толстой"_s);
  EXPECT_FALSE(база_лит.take_first([](const ЗаписьБазы& r) { return r.код == 99; }));
  EXPECT_FALSE(база_лит.retract_first([](const ЗаписьБазы& r) { return r.код == 99; }));
  EXPECT_FALSE(база_лит.retract(record(3, "Толстой"_s)));
  EXPECT_TRUE(база_лит.retract(record(3, "Чехов"_s)));
  EXPECT_EQ(база_лит.take_first()->код, 5);
  EXPECT_EQ(база_лит.retract_all([](const ЗаписьБазы& r) { return r.автор == "Гоголь"_s; }), 2u);
  EXPECT_EQ(база_лит.all(), (std::vector<ЗаписьБазы>{record(1, "Толстой"_s)}));
  EXPECT_EQ(база_лит.retract_all(), 1u);
  EXPECT_TRUE(база_лит.empty());
  EXPECT_FALSE(база_лит.retract_first());
  EXPECT_FALSE(база_лит.take_first());

  int calls = 0;
  for (int code = 1; code <= 4; ++code) база_лит.assertz(record(code));
  база_лит.for_each([&](const ЗаписьБазы& r) { return ++calls, r.код < 2; });
  EXPECT_EQ(calls, 2);
}

// A fact put back at its place: the front, the middle, the back and beyond; the tail follows,
// and pending walks see the new fact only where they have not passed yet.
TEST(FactKindApi, InsertAtAPosition) {
  FactSection каталог;
  FactKind<ЗаписьБазы> база_лит{каталог, "база_лит"_cp};
  const auto codes = [&] { return база_лит.findall([](const ЗаписьБазы& r) { return r.код; }); };
  база_лит.insert_at(5, record(2));  // an empty chain: the new fact is first and last
  база_лит.insert_at(0, record(1));
  база_лит.insert_at(2, record(4));
  база_лит.insert_at(2, record(3));
  база_лит.insert_at(99, record(5));
  EXPECT_EQ(codes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  база_лит.assertz(record(6));  // the tail moved with the insert at the back
  EXPECT_EQ(codes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));

  std::vector<std::int32_t> seen;
  for (const ЗаписьБазы& r : база_лит.facts()) {
    seen.push_back(r.код);
    if (r.код == 2) {
      база_лит.insert_at(1, record(10));  // behind the walk: not visited
      база_лит.insert_at(4, record(20));  // after the fact it visits next: visited
    }
  }
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3, 20, 4, 5, 6}));
  std::size_t removed = 0;
  for (const ЗаписьБазы& r : база_лит.retracting([](const ЗаписьБазы& r) { return r.код >= 10; })) {
    if (r.код == 10) база_лит.insert_at(база_лит.count(), record(30));
    ++removed;
  }
  EXPECT_EQ(removed, 3u);
  EXPECT_EQ(codes(), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));

  FactSection состояние;
  SingleKind<std::int32_t> один{состояние, "один"_cp, 1};
  один.insert_at(0, 7);
  EXPECT_EQ(один.get(), 7);
}

TEST(FactKindApi, ViewsReadFieldsOfACopyOfEachFact) {
  FactSection s;
  FactKind<ЗаписьБазы> база_лит{s, "база_лит"_cp};
  for (int code = 1; code <= 3; ++code) база_лит.assertz(record(code, "Автор "_s + std::to_string(code)));
  std::vector<std::string> authors;
  for (auto v : база_лит.views()) {
    // The body removes the fact it stands on; the view reads its own copy.
    ASSERT_TRUE(база_лит.retract_first([&](const ЗаписьБазы& r) { return r.код == v[&ЗаписьБазы::код]; }));
    authors.emplace_back(v[&ЗаписьБазы::автор]);
    EXPECT_EQ(v.get<2>(), "Евгений Онегин"_s);
    EXPECT_EQ(v[&ЗаписьБазы::диск], 1);
    EXPECT_EQ(v.record(), record(v[&ЗаписьБазы::код], authors.back()));
  }
  EXPECT_EQ(authors, (std::vector<std::string>{"Автор 1"_s, "Автор 2"_s, "Автор 3"_s}));
  EXPECT_TRUE(база_лит.empty());

  struct WithCache {
    std::int32_t key = 0;
    Binary bytes;
    std::vector<Point> points;
    std::int32_t cache = 0;  // not a field
    auto fields() { return std::tie(key, bytes, points); }
  };
  FactKind<WithCache> k{s, "k"};
  k.assertz({5, Binary{{1, 2, 3}}, {{1, 2}}, 99});
  for (auto v : k.views()) {
    EXPECT_EQ(v[&WithCache::bytes].size(), 3u);
    EXPECT_EQ(v[&WithCache::bytes][2], 3);
    EXPECT_EQ(v[&WithCache::points], (std::vector<Point>{{1, 2}}));
    EXPECT_EQ(v.record().cache, 0);
    EXPECT_THROW(v[&WithCache::cache], RunError);
  }
}

TEST(FactKindApi, DetermAndSingleKinds) {
  FactSection состояние;
  SingleKind<std::vector<std::int32_t>> списоккодов{состояние, "списоккодов"_cp, {0}};
  DetermKind<std::tuple<std::uint32_t, bool>> id_окнаобложки{состояние, "id_окнаобложки"_cp};
  SingleKind<std::int32_t> устрежимработысбазой{состояние, "устрежимработысбазой"_cp, 2};
  SingleKind<std::string> имяфайлаобложки{состояние, "имяфайлаобложки"_cp};
  FactKind<std::tuple<>> msg_debug{состояние, "msg_debug"};

  EXPECT_EQ(состояние.kind_flags(списоккодов.index()), kFactSingle | kFactDeterm);
  EXPECT_EQ(состояние.kind_flags(id_окнаобложки.index()), kFactDeterm);
  EXPECT_EQ(списоккодов.get(), std::vector<std::int32_t>{0});
  EXPECT_EQ(устрежимработысбазой.get(), 2);
  EXPECT_EQ(имяфайлаобложки.get(), "");

  списоккодов.set({7, 6, 5});
  устрежимработысбазой.set(0);
  имяфайлаобложки.set("обложка.bmp"_s);
  EXPECT_EQ(списоккодов.get(), (std::vector<std::int32_t>{7, 6, 5}));
  EXPECT_EQ(устрежимработысбазой.get(), 0);
  EXPECT_EQ(имяфайлаобложки.count(), 1u);

  EXPECT_FALSE(id_окнаобложки.get());
  id_окнаобложки.assertz({42u, false});
  try {
    id_окнаобложки.asserta({43u, true});
    FAIL() << "a second fact of a determ kind";
  } catch (const RunError& e) {
    EXPECT_EQ(e.code(), errcode::kSecondFact);
  }
  EXPECT_EQ(id_окнаобложки.get(), std::make_tuple(42u, false));
  id_окнаобложки.replace({43u, true});
  EXPECT_EQ(id_окнаобложки.get(), std::make_tuple(43u, true));

  EXPECT_FALSE(msg_debug.first());
  msg_debug.assertz({});
  EXPECT_EQ(msg_debug.count(), 1u);
}

}  // namespace
