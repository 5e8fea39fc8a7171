// String operations, conversions, the number syntax, character classes and case tables, the
// symbol table and checked real arithmetic.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "char_tables.h"
#include "number_syntax.h"
#include "real_arith.h"
#include "runtime/conversions.h"
#include "runtime/list_order.h"
#include "string_ops.h"
#include "symbol_table.h"
#include "test_support.h"

namespace {

using test_support::error_code_of;

TEST(StringOps, SplittingAtTheEdges) {
  const std::string_view s = "abc";
  const auto whole = PSTR_fr_str(3, s);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->front, "abc");
  EXPECT_TRUE(whole->rest.empty());
  EXPECT_FALSE(PSTR_fr_str(4, s));
  EXPECT_FALSE(PSTR_fr_str(-1, s));
  const auto two = PSTR_fr_str(2, s);
  ASSERT_TRUE(two);
  EXPECT_EQ(two->rest.data(), s.data() + 2);  // the rest shares the input's memory

  const auto one = PSTR_ft_ioo("x");
  ASSERT_TRUE(one);
  EXPECT_EQ(one->ch, 'x');
  EXPECT_EQ(one->rest, "");
  EXPECT_FALSE(PSTR_ft_ioo(""));
  EXPECT_EQ(PSTR_ft_iio("xyz", 'x'), std::optional<std::string_view>("yz"));
  EXPECT_FALSE(PSTR_ft_iio("xyz", 'y'));
  EXPECT_EQ(PSTR_ft_ioi("xyz", "yz"), std::optional<char>('x'));
  EXPECT_FALSE(PSTR_ft_ioi("xyz", "z"));
  EXPECT_TRUE(PSTR_ft_iii("xyz", 'x', "yz"));
  EXPECT_FALSE(PSTR_ft_iii("", 'x', ""));
  EXPECT_EQ(PSTR_ft_oii('\xC0', "bc"), "\xC0" "bc");
}

TEST(StringOps, ConcatenationAndLength) {
  EXPECT_EQ(PSTR_con_iio("Фолиарх"_cp, "!"), std::string("Фолиарх!"_cp));
  const std::string_view whole = "prefix-rest";
  const auto rest = PSTR_con_ioi("prefix-", whole);
  ASSERT_TRUE(rest);
  EXPECT_EQ(*rest, "rest");
  EXPECT_EQ(rest->data(), whole.data() + 7);
  EXPECT_FALSE(PSTR_con_ioi("rest", whole));
  EXPECT_EQ(PSTR_con_oii("-rest", whole), std::optional<std::string>("prefix"));
  EXPECT_FALSE(PSTR_con_oii("prefix", whole));
  EXPECT_TRUE(PSTR_con_iii("ab", "c", "abc"));
  EXPECT_FALSE(PSTR_con_iii("ab", "c", "abcd"));
  EXPECT_TRUE(PSTR_con_iii("", "", ""));

  EXPECT_EQ(PSTR_str_l_io("Ёж"_cp), 2u);  // bytes of code page 1251
  EXPECT_TRUE(PSTR_str_l_ii("abc", 3));
  EXPECT_FALSE(PSTR_str_l_ii("abc", -3));
  EXPECT_EQ(PSTR_str_l_oi(3), "   ");
  EXPECT_EQ(PSTR_str_l_oi(0), "");
  EXPECT_EQ(error_code_of([] { PSTR_str_l_oi(1073741825); }), errcode::kStringTooLong);
  EXPECT_EQ(error_code_of([] { PSTR_str_l_oi(-1); }), errcode::kStringTooLong);
}

TEST(Conversions, TextToInteger) {
  EXPECT_EQ(CONV_s_i_io(" 12 "), 12);
  EXPECT_EQ(CONV_s_i_io("-7"), -7);
  EXPECT_EQ(CONV_s_i_io("0x1F"), 31);
  EXPECT_EQ(CONV_s_i_io("0X1f"), 31);
  EXPECT_EQ(CONV_s_i_io("0o17"), 15);
  EXPECT_EQ(CONV_s_i_io("-0x10"), -16);
  EXPECT_EQ(CONV_s_i_io("2147483647"), INT32_MAX);
  EXPECT_EQ(CONV_s_i_io("-2147483648"), INT32_MIN);
  for (const char* bad : {"12a", "", "   ", "+5", "\t12", "12 3", "0x", "0o8", "- 5", "2147483648",
                          "-2147483649", "4294967296"})
    EXPECT_FALSE(CONV_s_i_io(bad)) << '"' << bad << '"';
  EXPECT_TRUE(CONV_s_i_ii(" 12 ", 12));
  EXPECT_FALSE(CONV_s_i_ii("12", 13));
  EXPECT_EQ(CONV_s_i_oi(INT32_MIN), "-2147483648");
  EXPECT_EQ(CONV_s_i_oi(0), "0");

  // The long forms raise 1031 for a number that does not fit, and still fail on bad text.
  EXPECT_EQ(CONV_s_l_io(" 7 "), 7);
  EXPECT_EQ(error_code_of([] { CONV_s_l_io("4294967296"); }), errcode::kIntOverflow);
  EXPECT_EQ(error_code_of([] { CONV_s_l_io("2147483648"); }), errcode::kIntOverflow);
  EXPECT_EQ(error_code_of([] { EXPECT_FALSE(CONV_s_l_io("12a")); }), 0);
  EXPECT_TRUE(CONV_s_l_ii("-2147483648", INT32_MIN));
}

TEST(NumberSyntax, ReadersReportWhereTheyStopOrFail) {
  const IntegerText a = CONV_ReadInteger("  -0o17,x");
  ASSERT_TRUE(a);
  EXPECT_TRUE(a.negative);
  EXPECT_EQ(a.magnitude, 15u);
  EXPECT_EQ(a.pos, 7u);
  const IntegerText b = CONV_ReadInteger("0xg");
  EXPECT_EQ(b.fault, NumberFault::no_digits);
  EXPECT_EQ(b.pos, 2u);
  const IntegerText c = CONV_ReadInteger("  9999999999");  // over 4294967295 at its tenth digit
  EXPECT_EQ(c.fault, NumberFault::too_large);
  EXPECT_EQ(c.pos, 11u);
  EXPECT_EQ(CONV_ReadInteger("4294967295").magnitude, 4294967295u);
  EXPECT_EQ(CONV_ReadInteger("12", 2).fault, NumberFault::no_digits);  // never past the end

  const RealText r = CONV_ReadReal(" -2.5e3)");
  ASSERT_TRUE(r);
  EXPECT_EQ(r.value, -2500.0);
  EXPECT_EQ(r.pos, 7u);
  const RealText e = CONV_ReadReal("1e+x");  // an exponent without digits is not part of the number
  ASSERT_TRUE(e);
  EXPECT_EQ(e.pos, 1u);
}

TEST(Conversions, TextToRealAndBack) {
  EXPECT_EQ(CONV_s_r_io("1.5"), 1.5);
  EXPECT_EQ(CONV_s_r_io(" -2.5E3 "), -2500.0);
  EXPECT_EQ(CONV_s_r_io("+.5"), 0.5);
  EXPECT_EQ(CONV_s_r_io("5."), 5.0);
  EXPECT_EQ(CONV_s_r_io("1e-2"), 0.01);
  EXPECT_EQ(CONV_s_r_io("42"), 42.0);
  for (const char* bad : {"", ".", "1e", "1e+", "abc", "1,5", "1e999", "inf", "--1"})
    EXPECT_FALSE(CONV_s_r_io(bad)) << '"' << bad << '"';

  EXPECT_EQ(CONV_s_r_oi(2.5), "2.5");
  EXPECT_EQ(CONV_s_r_oi(0.0), "0");
  EXPECT_EQ(CONV_s_r_oi(100.0), "100");
  EXPECT_EQ(CONV_s_r_oi(1234567890.0), "1234567890");     // exponent 9: still plain
  EXPECT_EQ(CONV_s_r_oi(12345678901.0), "1.23456789E+10");  // 10 digits, trailing zero gone
  EXPECT_EQ(CONV_s_r_oi(0.0001), "0.0001");                // exponent -4: plain
  EXPECT_EQ(CONV_s_r_oi(0.00001), "1E-05");
  EXPECT_EQ(CONV_s_r_oi(1.0 / 3.0), "0.3333333333");
  EXPECT_EQ(CONV_s_r_oi(-1.5e-7), "-1.5E-07");
  EXPECT_EQ(CONV_s_r_oi(1e100), "1E+100");
  EXPECT_EQ(CONV_s_r_oi(INFINITY), "+INF");
  EXPECT_EQ(CONV_s_r_oi(-INFINITY), "-INF");
  EXPECT_EQ(CONV_s_r_oi(std::numeric_limits<double>::quiet_NaN()), "+QNAN");
  EXPECT_EQ(CONV_s_c_oi('\xFF'), "\xFF");
}

TEST(CharTables, CaseConversionCoversEveryCyrillicLetterOfTheCodePage) {
  constexpr std::string_view lower =
      "abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюяђѓљњќћџўјґєѕії"_cp;
  constexpr std::string_view upper =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЂЃЉЊЌЋЏЎЈҐЄЅІЇ"_cp;
  EXPECT_EQ(CONV_up_low_oi(lower), upper);
  EXPECT_EQ(CONV_up_low_io(upper), lower);
  constexpr std::string_view neutral = "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~\t№©«»µ"_cp;
  EXPECT_EQ(CONV_up_low_oi(neutral), neutral);
  EXPECT_EQ(CONV_up_low_io(neutral), neutral);
  EXPECT_EQ(CONV_UpLowCh_oi("ё"_cp[0]), "Ё"_cp[0]);
  EXPECT_EQ(CONV_UpLowCh_io("Я"_cp[0]), "я"_cp[0]);

  // Every byte that changes case is a letter of that case and converts back.
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if (CONV_ToUpper(c) != c) {
      EXPECT_EQ(CONV_CharClass(c), CharClass::lower) << b;
      EXPECT_EQ(CONV_ToLower(CONV_ToUpper(c)), c) << b;
    }
    if (CONV_ToLower(c) != c) {
      EXPECT_EQ(CONV_CharClass(c), CharClass::upper) << b;
    }
  }
}

TEST(CharTables, SearchFormFoldsCaseAndYo) {
  EXPECT_EQ(CONV_SearchForm("ЁЛКИ Ёлки ёлки ЕЛКИ Tolstoy ТОЛСТОЙ"_cp), "елки елки елки елки tolstoy толстой"_cp);
  std::string out = "x";
  CONV_AppendSearchForm(out, "ЁЖ"_cp);
  EXPECT_EQ(out, "xеж"_cp);
  // Apart from ё and Ё, the search form of a byte is its lower-case form.
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if (c == "ё"_cp[0] || c == "Ё"_cp[0]) continue;
    EXPECT_EQ(CONV_SearchForm(std::string(1, c)), std::string(1, CONV_ToLower(c))) << b;
  }
}

// The list order, pair by pair: the first of each pair comes first.
TEST(ListOrder, LinesOfASortedList) {
  const std::pair<std::string_view, std::string_view> ordered[] = {
      {"    3|a", "   12|b"},   // blanks before digits: the code column orders by number
      {"   99|", "  100|"},     //
      {"-", "0"},               // punctuation before digits
      {"9", "a"},               // digits before Latin letters
      {"z", "а"_cp},            // Latin before Cyrillic
      {"е"_cp, "Ё"_cp},         // ё right after е, case alike
      {"ё"_cp, "ж"_cp},         //
      {"B", "b"},               // equal but for case: by bytes, capitals first
      {"ab", "abc"},            // a prefix first
      {"Я"_cp, "яя"_cp},        //
  };
  for (const auto& [a, b] : ordered) {
    EXPECT_LT(PSTR_ListCompare(a, b), 0) << a << " < " << b;
    EXPECT_GT(PSTR_ListCompare(b, a), 0) << b << " > " << a;
  }
  EXPECT_EQ(PSTR_ListCompare("Книга"_cp, "Книга"_cp), 0);
  EXPECT_EQ(PSTR_ListCompare("", ""), 0);
}

TEST(CharTables, ClassesOfEveryKindOfByte) {
  auto cls = [](char c) { return CONV_CharClass(c); };
  for (char c : std::string_view("0123456789")) EXPECT_EQ(cls(c), CharClass::digit);
  for (char c : std::string_view("qzяёђµ"_cp)) EXPECT_EQ(cls(c), CharClass::lower) << int(c);
  for (char c : std::string_view("QZЯЁЂҐ"_cp)) EXPECT_EQ(cls(c), CharClass::upper) << int(c);
  for (char c : std::string_view("!\"$%'()*+,-./:;<=>[]_|~")) EXPECT_EQ(cls(c), CharClass::punct) << c;
  for (char c : std::string_view("#&?\\^`{}@\x7F\x01\x98"))
    EXPECT_EQ(cls(c), CharClass::other) << int(c);
  for (char c : std::string_view("№©«»"_cp)) EXPECT_EQ(cls(c), CharClass::other) << int(c);
  for (char c : {'\n', '\v', '\f', '\r', '\x1A'}) EXPECT_EQ(cls(c), CharClass::line_end) << int(c);
  EXPECT_EQ(cls(' '), CharClass::blank);
  EXPECT_EQ(cls('\t'), CharClass::blank);
  EXPECT_EQ(cls('\0'), CharClass::nul);
}

TEST(SymbolTable, InterningReturnsTheSameStoredString) {
  const std::string_view first = HASH_BinInsert("символ"_cp);
  const std::string_view again = HASH_BinInsert(std::string("символ"_cp));
  EXPECT_EQ(first.data(), again.data());
  EXPECT_EQ(first, "символ"_cp);
  EXPECT_EQ(first.data()[first.size()], '\0');
  EXPECT_NE(HASH_BinInsert("символы"_cp).data(), first.data());  // a longer text is another symbol
  EXPECT_EQ(HASH_BinInsert("").size(), 0u);
  EXPECT_EQ(HASH_BinInsert("").data(), HASH_BinInsert("").data());

  // Sorted insertion makes a degenerate tree; the walk is a loop and every string stays put.
  const std::size_t before = HASH_SymbolCount();
  std::vector<const char*> stored;
  for (int i = 0; i < 3000; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "k%06d", i);
    stored.push_back(HASH_BinInsert(key).data());
  }
  EXPECT_EQ(HASH_SymbolCount(), before + 3000);
  EXPECT_EQ(HASH_BinInsert("k000000").data(), stored.front());
  EXPECT_EQ(HASH_BinInsert("k002999").data(), stored.back());
}

TEST(RealArithmetic, RoundingRangesAndCheckedErrors) {
  EXPECT_EQ(PFP_RealLong(2.5), 3);
  EXPECT_EQ(PFP_RealLong(-2.5), -3);
  EXPECT_EQ(PFP_RealLong(0.49), 0);
  EXPECT_EQ(PFP_RealLong(2147483647.0), INT32_MAX);
  EXPECT_EQ(PFP_RealLong(-2147483648.0), INT32_MIN);
  for (double bad : {2147483647.5, 2147483648.0, -2147483648.5, double(NAN), double(INFINITY)})
    EXPECT_EQ(error_code_of([bad] { PFP_RealLong(bad); }), errcode::kIntOverflow) << bad;
  EXPECT_EQ(PFP_IntReal(INT32_MIN), -2147483648.0);

  EXPECT_EQ(PFP_Add(0.5, 0.25), 0.75);
  EXPECT_EQ(PFP_Sub(0.5, 0.25), 0.25);
  EXPECT_EQ(PFP_Mult(1.5, 2.0), 3.0);
  EXPECT_EQ(PFP_Div(1.0, 4.0), 0.25);
  EXPECT_EQ(error_code_of([] { PFP_Add(DBL_MAX, DBL_MAX); }), errcode::kRealOverflow);
  EXPECT_EQ(error_code_of([] { PFP_Sub(-DBL_MAX, DBL_MAX); }), errcode::kRealOverflow);
  EXPECT_EQ(error_code_of([] { PFP_Mult(1e200, 1e200); }), errcode::kRealOverflow);
  EXPECT_EQ(error_code_of([] { PFP_Div(1e300, 1e-300); }), errcode::kRealOverflow);
  EXPECT_EQ(error_code_of([] { PFP_Div(1.0, 0.0); }), errcode::kDivisionByZero);
  EXPECT_EQ(error_code_of([] { PFP_Div(0.0, -0.0); }), errcode::kDivisionByZero);
  EXPECT_TRUE(std::isinf(PFP_Add(INFINITY, 1.0)));  // an infinite operand is not an overflow

  EXPECT_EQ(PFP_COMP(1.0, 2.0), std::partial_ordering::less);
  EXPECT_EQ(PFP_COMP(2.0, 2.0), std::partial_ordering::equivalent);
  EXPECT_EQ(PFP_COMP(3.0, 2.0), std::partial_ordering::greater);
  EXPECT_EQ(PFP_COMP(NAN, 2.0), std::partial_ordering::unordered);
}

}  // namespace
