// The fact-file text syntax of single values: the writer's exact forms, the round trip of every
// value type and escape, what the reader also accepts, and each read error with its position.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/term_reader.h"
#include "runtime/term_writer.h"
#include "test_support.h"

namespace {

using test_support::error_code_of;

const TypeDesc& T(TypeCode c) { return scalar_type(c); }

// A domain with a functor of fields, a functor without fields, and one that holds a list of the
// domain itself.
const TypeDesc& shape_type() {
  static TypeDesc* d = [] {
    auto* t = new TypeDesc;
    t->code = TypeCode::Compound;
    t->functors.push_back({"point", {&scalar_type(TypeCode::Integer), &scalar_type(TypeCode::Real)}});
    t->functors.push_back({"none", {}});
    t->functors.push_back({"group", {&list_type(*t)}});
    t->functors.push_back({"label", {&scalar_type(TypeCode::String), &scalar_type(TypeCode::Char)}});
    return t;
  }();
  return *d;
}

std::string w(const TypeDesc& type, const Term& v) { return RNT_TermStr_io(type, v); }
Term r(const TypeDesc& type, std::string_view text) { return RNT_TermStr_oi(type, text); }

TEST(TermWriter, ExactFormsOfEveryType) {
  EXPECT_EQ(w(T(TypeCode::Integer), -2147483648LL), "-2147483648");
  EXPECT_EQ(w(T(TypeCode::UInt32), 4294967295LL), "4294967295");
  EXPECT_EQ(w(T(TypeCode::Int8), -5), "-5");
  EXPECT_EQ(w(T(TypeCode::Char), 'a'), "'a'");
  EXPECT_EQ(w(T(TypeCode::Char), '\n'), "'\\n'");
  EXPECT_EQ(w(T(TypeCode::Char), '\r'), "'\\r'");
  EXPECT_EQ(w(T(TypeCode::Char), '\0'), "'\\0'");
  EXPECT_EQ(w(T(TypeCode::Char), '\''), "'''");
  EXPECT_EQ(w(T(TypeCode::Char), '\\'), "'\\'");
  EXPECT_EQ(w(T(TypeCode::Real), 2.5), "2.5");
  EXPECT_EQ(w(T(TypeCode::Real), 100.0), "100");
  EXPECT_EQ(w(T(TypeCode::Real), 0.0001), "0.0001");
  EXPECT_EQ(w(T(TypeCode::Real), 0.00001), "1E-05");
  EXPECT_EQ(w(T(TypeCode::Real), 1234567890.0), "1234567890");
  EXPECT_EQ(w(T(TypeCode::Real), 12345678901.0), "1.23456789E+10");
  EXPECT_EQ(w(T(TypeCode::Real), 1.0 / 3), "0.3333333333");
  EXPECT_EQ(w(T(TypeCode::String), "a\nb\rc\"d\\e\tf"), "\"a\\nb\\rc\\\"d\\\\e\tf\"");
  EXPECT_EQ(w(T(TypeCode::String), ""), "\"\"");
  EXPECT_EQ(w(T(TypeCode::String), "Ёлка"_cps), "\"Ёлка\""_cps);
  EXPECT_EQ(w(T(TypeCode::Symbol), "sym"), "\"sym\"");
  EXPECT_EQ(w(T(TypeCode::Binary), Binary{{0xAB, 0x01, 0x00}}), "$[AB,01,00]");
  EXPECT_EQ(w(T(TypeCode::Binary), Binary{}), "$[]");
  EXPECT_EQ(w(list_type(T(TypeCode::Integer)), Term::List{1, -2, 3}), "[1,-2,3]");
  EXPECT_EQ(w(list_type(T(TypeCode::String)), Term::List{}), "[]");
  // A lone list argument is spelt Term(...): `{Term::List{..}}` alone would copy the list as the
  // argument list on some compilers (clang) and wrap it as one argument on others (g++).
  const Term g = Term::compound(2, {Term(Term::List{Term::compound(0, {7, 0.5}), Term::compound(1)})});
  EXPECT_EQ(w(shape_type(), g), "group([point(7,0.5),none])");
  // A term that does not have its type's form is a program fault, not a text.
  EXPECT_EQ(error_code_of([] { w(T(TypeCode::Integer), "x"); }), errcode::kNoCase);
  EXPECT_EQ(error_code_of([] { w(shape_type(), Term::compound(9)); }), errcode::kNoCase);
}

TEST(TermText, EveryTypeSurvivesWriteAndRead) {
  std::vector<const TypeDesc*> types;
  std::vector<Term> values;
  auto add = [&](const TypeDesc& type, Term value) {
    types.push_back(&type);
    values.push_back(std::move(value));
  };
  for (int c = 0; c < 256; ++c) add(T(TypeCode::Char), c);
  for (TypeCode code : {TypeCode::UInt8, TypeCode::Int8, TypeCode::UInt16, TypeCode::Int16, TypeCode::UInt32,
                        TypeCode::Integer, TypeCode::ULong, TypeCode::Long, TypeCode::RefNumber}) {
    add(T(code), type_min(code));
    add(T(code), type_max(code));
    add(T(code), 0);
  }
  for (double d : {0.0, -0.5, 3.25, 1e-300, 123456.789, -9.87654321e15, 1e100})
    add(T(TypeCode::Real), d);
  std::string all_bytes;
  for (int c = 1; c < 256; ++c) all_bytes += static_cast<char>(c);
  const std::string cyrillic = "Мёртвые души"_cps;  // apart: clang 14 crashes on a _cps literal in this list
  for (const std::string& s : {std::string(), all_bytes, std::string("\\\\\"\n\r\n"), cyrillic}) {
    add(T(TypeCode::String), s);
    add(T(TypeCode::Symbol), s);
  }
  std::vector<std::uint8_t> bytes;
  for (int c = 0; c < 256; ++c) bytes.push_back(static_cast<std::uint8_t>(c));
  add(T(TypeCode::Binary), Binary{bytes});
  add(T(TypeCode::Binary), Binary{});
  add(list_type(T(TypeCode::String)), Term::List{"a,b", "]", "", "\"x\""});
  add(list_type(list_type(T(TypeCode::Integer))), Term::List{Term::List{}, Term::List{1, 2}});
  add(shape_type(), Term::compound(3, {"(,)]", '\''}));
  add(shape_type(), Term::compound(2, {Term(Term::List{Term::compound(1), Term::compound(2, {Term(Term::List{})})})}));

  for (std::size_t i = 0; i < types.size(); ++i) {
    const std::string text = w(*types[i], values[i]);
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    const Term back = r(*types[i], text);
    if (values[i].is_real()) {
      EXPECT_NEAR(back.as_real(), values[i].as_real(), std::fabs(values[i].as_real()) * 1e-9) << text;
    } else {
      EXPECT_EQ(back, values[i]) << text;
    }
  }
}

// A saved file always loads: reals at the top of the range are written so that they read back,
// and a real the syntax cannot hold stops the save before the file is touched.
TEST(TermWriter, EveryRealItWritesReadsBack) {
  const TypeDesc& real = T(TypeCode::Real);
  EXPECT_EQ(w(real, DBL_MAX), "1.797693134E+308");
  EXPECT_EQ(w(real, -DBL_MAX), "-1.797693134E+308");
  for (double d : {DBL_MAX, -DBL_MAX, 1.7976931345e308, 1.797693134e308, 1.7976931335e308, DBL_MIN,
                   std::numeric_limits<double>::denorm_min(), -std::numeric_limits<double>::denorm_min()}) {
    const std::string text = w(real, d);
    double back = 0;
    EXPECT_NO_THROW(back = r(real, text).as_real()) << text;
    EXPECT_NEAR(back, d, std::fabs(d) * 1e-9) << text;
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (double d : {inf, -inf, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(error_code_of([&] { w(real, d); }), errcode::kReadReal) << d;

  test_support::TempDir dir;
  const std::string file = dir.file("reals.pbs");
  test_support::write_bytes(file, "v(1)\r\n");
  FactSection s;
  s.add_kind("v", {&real});
  RNT_Assertz(s, Term::compound(0, {2.5}));
  RNT_Assertz(s, Term::compound(0, {inf}));
  EXPECT_EQ(error_code_of([&] { RNT_Save(s, file); }), errcode::kReadReal);
  EXPECT_EQ(test_support::read_bytes(file), "v(1)\r\n");
}

TEST(TermReader, AcceptsTheLenientForms) {
  EXPECT_EQ(r(T(TypeCode::Integer), "  42").as_int(), 42);
  EXPECT_EQ(r(T(TypeCode::Integer), "0x1F").as_int(), 31);
  EXPECT_EQ(r(T(TypeCode::Integer), "-0X10").as_int(), -16);
  EXPECT_EQ(r(T(TypeCode::UInt16), "0o17").as_int(), 15);
  EXPECT_EQ(r(T(TypeCode::Integer), "-2147483648").as_int(), INT32_MIN);
  EXPECT_EQ(r(T(TypeCode::Long), "-2147483648").as_int(), INT32_MIN);
  EXPECT_DOUBLE_EQ(r(T(TypeCode::Real), " +1.5e3").as_real(), 1500.0);
  EXPECT_DOUBLE_EQ(r(T(TypeCode::Real), "-2E-2").as_real(), -0.02);
  EXPECT_DOUBLE_EQ(r(T(TypeCode::Real), "7").as_real(), 7.0);
  EXPECT_EQ(r(T(TypeCode::String), "\"a\\qb\\\"\"").as_string(), "a\\qb\"");
  EXPECT_EQ(r(T(TypeCode::Binary), "$[ ab , 0c ]").as_binary(), (Binary{{0xAB, 0x0C}}));
  EXPECT_EQ(r(T(TypeCode::Binary), "$[ ]").as_binary(), Binary{});
  EXPECT_EQ(r(list_type(T(TypeCode::Integer)), " [ 1 , 2 ]"), Term(Term::List{1, 2}));
  EXPECT_EQ(r(list_type(T(TypeCode::Integer)), "[  ]"), Term(Term::List{}));
  EXPECT_EQ(r(shape_type(), "point( 1 , 2.5 )"), Term::compound(0, {1, 2.5}));
  EXPECT_EQ(r(shape_type(), "none( )"), Term::compound(1));
  EXPECT_EQ(r(shape_type(), "none"), Term::compound(1));
  // Trailing blanks, tabs and line ends are allowed; the value ends at the first line feed.
  EXPECT_EQ(r(T(TypeCode::Integer), "12 \t\r\n \n").as_int(), 12);
}

TEST(TermReader, EachErrorWithItsPosition) {
  struct Case {
    const TypeDesc* type;
    std::string text;
    int code;
    std::size_t pos;
  };
  const TypeDesc& I = T(TypeCode::Integer);
  const std::vector<Case> cases = {
      {&I, "abc", errcode::kReadNumber, 0},
      {&I, "  -", errcode::kReadNumber, 3},
      {&I, "\t12", errcode::kReadNumber, 0},  // a tab is not a blank
      {&I, "0x", errcode::kReadNumber, 2},  // a base prefix without a digit of its base
      {&I, "4294967296", errcode::kIntOverflow, 9},
      {&I, " 2147483648", errcode::kIntOverflow, 1},
      {&I, "-2147483649", errcode::kIntOverflow, 0},
      {&T(TypeCode::UInt32), "-1", errcode::kReadNumber, 0},
      {&T(TypeCode::UInt32), "-0", errcode::kReadNumber, 0},
      {&T(TypeCode::UInt8), "256", errcode::kIntOverflow, 0},
      {&T(TypeCode::UInt8), "-1", errcode::kReadNumber, 0},
      {&T(TypeCode::Int8), "-129", errcode::kIntOverflow, 0},
      {&T(TypeCode::Int8), "128", errcode::kIntOverflow, 0},
      {&T(TypeCode::UInt16), "65536", errcode::kIntOverflow, 0},
      {&T(TypeCode::UInt16), "-3", errcode::kReadNumber, 0},
      {&T(TypeCode::Int16), "-32769", errcode::kIntOverflow, 0},
      {&T(TypeCode::Real), "x1", errcode::kReadReal, 0},
      {&T(TypeCode::Real), " .", errcode::kReadReal, 1},
      {&T(TypeCode::String), "abc", errcode::kReadString, 0},
      {&T(TypeCode::String), "\"abc", errcode::kReadString, 4},  // the line ends inside the string
      {&T(TypeCode::String), "\"ab\\", errcode::kReadString, 4},
      {&T(TypeCode::Char), "'ab'", errcode::kReadChar, 0},
      {&T(TypeCode::Char), "''", errcode::kReadChar, 0},
      {&T(TypeCode::Char), std::string("'\0'", 3), errcode::kReadChar, 0},
      {&T(TypeCode::Char), "a", errcode::kReadChar, 0},
      {&T(TypeCode::Binary), "[01]", errcode::kReadDollar, 0},
      {&T(TypeCode::Binary), "$01", errcode::kReadBracket, 1},
      {&T(TypeCode::Binary), "$[0g]", errcode::kReadNumber, 3},
      {&T(TypeCode::Binary), "$[01;", errcode::kReadBracket, 4},
      {&T(TypeCode::Binary), "$[01,", errcode::kReadNumber, 5},
      {&list_type(I), "1", errcode::kReadBracket, 0},
      {&list_type(I), "[1;2]", errcode::kReadListSep, 2},
      {&list_type(I), "[1,", errcode::kReadNumber, 3},
      {&shape_type(), "circle(1)", errcode::kReadFunctor, 0},
      {&shape_type(), "point (1,2)", errcode::kReadFunctor, 0},
      {&shape_type(), "", errcode::kReadFunctor, 0},
      {&shape_type(), "point", errcode::kReadOpen, 5},
      {&shape_type(), "point,", errcode::kReadOpen, 5},
      {&shape_type(), "point(1;2)", errcode::kReadFieldSep, 7},
      {&shape_type(), "point(1,2", errcode::kReadFieldSep, 9},
      {&shape_type(), "none(1)", errcode::kReadFieldSep, 5},
      {&I, "12 x", errcode::kReadLeftOver, 3},
      {&I, "12\nx", errcode::kReadLeftOver, 3},
  };
  for (const Case& c : cases) {
    RNT_ReadTermErrorLinePos = 999;
    EXPECT_EQ(error_code_of([&] { r(*c.type, c.text); }), c.code) << c.text;
    EXPECT_EQ(RNT_ReadTermErrorLinePos, c.pos) << c.text;
    EXPECT_EQ(RNT_ReadTermErrorLine(), c.text) << c.text;
  }
}

TEST(TermReader, DeepNestingIsAnErrorNotACrash) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "group([";
  EXPECT_EQ(error_code_of([&] { r(shape_type(), deep); }), errcode::kStackOverflow);
  // A moderate depth reads.
  std::string ok;
  for (int i = 0; i < 50; ++i) ok += "group([";
  ok += "none";
  for (int i = 0; i < 50; ++i) ok += "])";
  EXPECT_EQ(w(shape_type(), r(shape_type(), ok)), ok);
}

}  // namespace
