// Formatted output: the directive rules, every value type's letters, reals, the count of values
// against directives, the device form and the steps form, runtime messages, and the list and
// card lines the catalogue builds with it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/codepage.h"
#include "runtime/console_output.h"
#include "runtime/file_slots.h"
#include "runtime/format.h"
#include "test_support.h"

namespace {

using test_support::error_code_of;
using test_support::read_bytes;
using test_support::TempDir;

std::string cp(std::string_view utf8) { return cp1251::from_utf8(utf8); }

std::string g_console;
void capture_str(std::string_view s) { g_console.append(s); }
void capture_ch(char c) { g_console.push_back(c); }

// The screen's text goes to g_console while a test runs.
class Writef : public ::testing::Test {
 protected:
  void SetUp() override {
    g_console.clear();
    IO_SetConsoleFns(capture_str, capture_ch);
  }
};

TEST(Format, TheExampleTableOfTheListAndCardDirectives) {
  const std::string s25(25, 'a'), s10(10, 'b'), s4 = "cccc", s6 = "dddddd", s20(20, 'e'), s3 = "fff";
  EXPECT_EQ(IO_FormatStr("%5.5", {42}), "   42");
  EXPECT_EQ(IO_FormatStr("%-20.18", {s25}), std::string(18, 'a') + "  ");
  EXPECT_EQ(IO_FormatStr("%-30.25", {s10}), s10 + std::string(20, ' '));
  EXPECT_EQ(IO_FormatStr("%10.10", {s4}), "      cccc");
  EXPECT_EQ(IO_FormatStr("%4.4", {s6}), "dddd");
  EXPECT_EQ(IO_FormatStr("%-14", {s20}), s20);
  EXPECT_EQ(IO_FormatStr("%14.14", {s3}), std::string(11, ' ') + "fff");
  EXPECT_EQ(IO_FormatStr("%", {s6}), s6);
  // "|" is no letter and "0.18" after it is literal text.
  EXPECT_EQ(IO_FormatStr("%5|0.18|%-30.25", {7, "x"}), "    7|0.18|x" + std::string(29, ' '));
}

TEST(Format, DirectivePartsAndLiteralText) {
  EXPECT_EQ(IO_FormatStr("100%% of %", {5}), "100% of 5");
  EXPECT_EQ(IO_FormatStr("%%%%", {}), "%%");
  // A letter the type does not allow stays as text and the default letter is used.
  EXPECT_EQ(IO_FormatStr("%5s", {42}), "   42s");
  EXPECT_EQ(IO_FormatStr("%5d|", {"ab"}), "   abd|");
  EXPECT_EQ(IO_FormatStr("%5.3", {"abcdef"}), "  abc");
  EXPECT_EQ(IO_FormatStr("%.0", {"abc"}), "");
  // Zeros go before the whole text, sign included, and only without "-".
  EXPECT_EQ(IO_FormatStr("%05", {-5}), "000-5");
  EXPECT_EQ(IO_FormatStr("%-05|", {42}), "42   |");
  EXPECT_EQ(IO_FormatStr("%04", {"ab"}), "00ab");
  EXPECT_EQ(IO_FormatStr("%2", {123456}), "123456");
  // A point without a digit behind it is literal text.
  EXPECT_EQ(IO_FormatStr("%5.x", {42}), "   42.x");
  EXPECT_EQ(IO_FormatStr("plain text", {}), "plain text");
}

TEST(Format, IntegerLettersWorkOnTheFull32BitValue) {
  EXPECT_EQ(IO_FormatStr("%d %u %x %X %o", {-1, -1, -1, 255, 8}), "-1 4294967295 FFFFFFFF FF 10");
  EXPECT_EQ(IO_FormatStr("%", {std::numeric_limits<std::int32_t>::min()}), "-2147483648");
  EXPECT_EQ(IO_FormatStr("%", {std::uint32_t{4000000000u}}), "4000000000");
  EXPECT_EQ(IO_FormatStr("%d", {std::uint32_t{4000000000u}}), "-294967296");
  EXPECT_EQ(IO_FormatStr("%x", {std::int8_t{-1}}), "FFFFFFFF");
  EXPECT_EQ(IO_FormatStr("% %", {std::int8_t{-1}, std::uint8_t{200}}), "-1 200");
  EXPECT_EQ(IO_FormatStr("% %", {std::int16_t{-300}, std::uint16_t{65535}}), "-300 65535");
  EXPECT_EQ(IO_FormatStr("% %", {LongInt{-7}, ULongInt{7}}), "-7 7");
  // Characters: the byte by default, the code with a number letter; "c" takes the low byte.
  const char ya = cp("я")[0];
  EXPECT_EQ(IO_FormatStr("%|%d|%3", {ya, ya, 'A'}), cp("я|255|  A"));
  EXPECT_EQ(IO_FormatStr("%c%c", {65, 0x141}), "AA");
  EXPECT_EQ(IO_FormatStr("%5.1d", {42}), "   42");  // precision ignored
}

TEST(Format, OtherValueTypes) {
  EXPECT_EQ(IO_FormatStr("%", {RefNumber{0x1f}}), "~1F");
  EXPECT_EQ(IO_FormatStr("%6R", {RefNumber{0xabc}}), "  ~ABC");
  EXPECT_EQ(IO_FormatStr("%d", {RefNumber{5}}), "~5d");  // only "R" is allowed
  EXPECT_EQ(IO_FormatStr("%-6.3|", {Symbol{"symbol"}}), "sym   |");
  // Values of the store with their descriptors.
  const Term code(42), text(std::string("abc")), real(2.5), ch('x');
  EXPECT_EQ(IO_FormatStr("%4|%s|%|%", {FmtArg(scalar_type(TypeCode::Integer), code),
                                       FmtArg(scalar_type(TypeCode::String), text),
                                       FmtArg(scalar_type(TypeCode::Real), real),
                                       FmtArg(scalar_type(TypeCode::Char), ch)}),
            "  42|abc|2.5|x");
  EXPECT_EQ(IO_FormatStr("%", {FmtArg(scalar_type(TypeCode::UInt8), Term(200))}), "200");
  EXPECT_EQ(error_code_of([] { FmtArg(list_type(scalar_type(TypeCode::Integer)), Term(Term::List{})); }),
            errcode::kNoCase);
}

// What cannot be formatted raises the formatter's own run-time errors: a term that does not hold
// its type's value (1000), a width or precision that no field can have (1140, nothing allocated).
TEST(Format, ValuesAndDirectivesThatCannotBeFormatted) {
  const Term number(5), text(std::string("x"));
  for (const auto& [code, value] : {std::pair{TypeCode::Real, &number}, {TypeCode::String, &number},
                                    {TypeCode::Binary, &number}, {TypeCode::Integer, &text}, {TypeCode::Char, &text}})
    EXPECT_EQ(error_code_of([&] { IO_FormatStr("%", {FmtArg(scalar_type(code), *value)}); }), errcode::kNoCase);
  EXPECT_EQ(error_code_of([] { IO_FormatStr("%99999999999d", {1}); }), errcode::kFormatMemory);
  EXPECT_EQ(error_code_of([] { IO_FormatStr("%-1073741825", {1}); }), errcode::kFormatMemory);
  EXPECT_EQ(error_code_of([] { IO_FormatStr("%.99999999999", {"abc"}); }), errcode::kFormatMemory);
  EXPECT_EQ(IO_FormatStr("%.1073741824|", {"abc"}), "abc|");
}

TEST(Format, RealsInTheirThreeForms) {
  EXPECT_EQ(IO_FormatStr("%", {2.5}), "2.5");
  EXPECT_EQ(IO_FormatStr("%.3", {2.5}), "2.500");
  EXPECT_EQ(IO_FormatStr("%.0", {2.5}), "2");  // the bare point goes
  EXPECT_EQ(IO_FormatStr("%", {-2.0}), "-2");
  EXPECT_EQ(IO_FormatStr("%", {1.0 / 3}), "0.3333333333");
  EXPECT_EQ(IO_FormatStr("%.25", {0.1}), "0.1000000000000000056");  // at most 19 digits
  EXPECT_EQ(IO_FormatStr("%e", {12345.678}), "1.2345678E+04");
  EXPECT_EQ(IO_FormatStr("%.2e", {12345.678}), "1.23E+04");
  EXPECT_EQ(IO_FormatStr("%.0e", {2.5}), "2E+00");
  EXPECT_EQ(IO_FormatStr("%e", {1e-300}), "1E-300");
  EXPECT_EQ(IO_FormatStr("%g", {123456.0}), "123456");
  EXPECT_EQ(IO_FormatStr("%g", {0.0001}), "0.0001");
  EXPECT_EQ(IO_FormatStr("%g", {0.00001}), "1E-05");
  EXPECT_EQ(IO_FormatStr("%g", {1e10}), "1E+10");
  EXPECT_EQ(IO_FormatStr("%.3g", {2.5}), "2.50");
  EXPECT_EQ(IO_FormatStr("%.3g", {1234567.0}), "1.23E+06");
  EXPECT_EQ(IO_FormatStr("%.3g", {999.6}), "1.00E+03");  // rounding moves the exponent
  // "f" and "l" take a following form letter; "l" alone is fixed.
  EXPECT_EQ(IO_FormatStr("%.2lf|%.2le|%.2fg|%.2l|%.2ge", {1.5, 1.5, 1.5, 1.5, 1.5}),
            "1.50|1.50E+00|1.5|1.50|1.5e");
  // Blanks only, whatever the width begins with.
  EXPECT_EQ(IO_FormatStr("%08|%-6|%6", {-2.5, 2.5, 2.5}), "    -2.5|2.5   |   2.5");
  EXPECT_EQ(IO_FormatStr("%s", {2.5}), "2.5s");
}

TEST(Format, InfinitiesAndNotANumber) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(IO_FormatStr("%|%e|%.3g|%|%", {inf, -inf, inf, nan, -nan}), "+INF|-INF|+INF|+QNAN|-QNAN");
  EXPECT_EQ(IO_FormatStr("%6|%-6|", {inf, nan}), "  +INF|+QNAN |");
}

TEST(Format, ValuesAgainstDirectives) {
  // Fewer values: the text stops at the first directive without one.
  EXPECT_EQ(IO_FormatStr("a%b%c", {1}), "a1b");
  EXPECT_EQ(IO_FormatStr("head %5 tail", {}), "head ");
  EXPECT_EQ(IO_FormatStr("100%% %", {}), "100% ");
  // More values: error 1109.
  EXPECT_EQ(error_code_of([] { IO_FormatStr("a%b", {1, 2}); }), errcode::kFormatSurplusValue);
  EXPECT_EQ(error_code_of([] { IO_FormatStr("no directive", {1}); }), errcode::kFormatSurplusValue);
  EXPECT_EQ(error_code_of([] { IO_FormatStr("%%", {1}); }), errcode::kFormatSurplusValue);
}

TEST(Format, AFormatBuiltByAFormat) {
  // A real field with N decimals builds its own directive first.
  const std::string directive = IO_FormatStr("%%4.%f", {2});
  EXPECT_EQ(directive, "%4.2f");
  EXPECT_EQ(IO_FormatStr(directive, {3.14159}), "3.14");
  EXPECT_EQ(IO_FormatStr(IO_FormatStr("%%4.%f", {1}), {2.0}), " 2.0");
}

TEST(Format, StepsFormKeepsItsOwnFormatString) {
  std::string result = "old";
  {
    std::string fmt = "<%3|%>";
    IO_FormatInit(result, fmt);
    fmt.assign(fmt.size(), '?');  // the caller's string may change meanwhile
  }
  IO_Format(FmtArg(7));
  IO_Format(FmtArg("x"));
  EXPECT_EQ(result, "old");
  IO_FormatEnd();
  EXPECT_EQ(result, "<  7|x>");
  std::string second;
  IO_FormatInit(second, "%");
  EXPECT_EQ(error_code_of([] {
              IO_Format(FmtArg(1));
              IO_Format(FmtArg(2));
            }),
            errcode::kFormatSurplusValue);
  IO_FormatEnd();
  EXPECT_EQ(second, "1");
}

TEST(Format, RuntimeMessagesReadValuesByTheirLetter) {
  EXPECT_EQ(IO_SPrintf("code = %X", {0xC0000005u}), "code = C0000005");
  EXPECT_EQ(IO_SPrintf("%d|%u|%c|%s|%.2f|%R", {-1, -1, 65, "txt", 2.0, 255}), "-1|4294967295|A|txt|2.00|~FF");
  EXPECT_EQ(IO_SPrintf("%5d%%", {42}), "   42%");
  EXPECT_EQ(IO_SPrintf("%d", {"text"}), "textd");
  EXPECT_EQ(error_code_of([] { IO_SPrintf("%d", {1, 2}); }), errcode::kFormatSurplusValue);
}

TEST(Format, TheListLineOfARecord) {
  const std::string fmt = "%5.5|%20.18|%-30.25|%10.10|%4.4|%8.8|%20.20";
  const std::string author = cp("Пушкин Александр Сергеевич");  // 26 characters
  const std::string title = cp("Евгений Онегин");               // 14
  const std::string line =
      IO_FormatStr(fmt, {42, author, title, cp("Поэзия"), cp("Есть"), cp("Твёрдый"), "onegin.bmp"});
  EXPECT_EQ(line, cp("   42|  Пушкин Александр С|Евгений Онегин                |    Поэзия|Есть| Твёрдый|") +
                      std::string(10, ' ') + "onegin.bmp");
  EXPECT_EQ(line.size(), 5u + 1 + 20 + 1 + 30 + 1 + 10 + 1 + 4 + 1 + 8 + 1 + 20);

  // Long texts are cut to their precision; a code of six digits is written in full.
  const std::string long_title = cp("Повесть временных лет, или Начальная летопись");
  const std::string long_line = IO_FormatStr(
      fmt, {100000, "", long_title, cp("Древнерусская литература"), cp("Нет"), cp("Мягкий"), std::string(30, 'z')});
  EXPECT_EQ(long_line, "100000|" + std::string(20, ' ') + "|" + long_title.substr(0, 25) + std::string(5, ' ') + "|" +
                           cp("Древнерусс|") + cp(" Нет|  Мягкий|") + std::string(20, 'z'));
}

TEST_F(Writef, CardLinesGoToTheCurrentOutputDevice) {
  TempDir dir;
  const std::string path = dir.file("card.txt");
  const int slot = IO_DeclareFile("myfile");
  IO_O_Write(slot, path);
  IO_WrDev_i(slot);
  IO_Writef(cp("Автор:\t\t\t% "), {cp("А. Блок")});
  IO_Nl();
  IO_Writef(cp("Диск:\t\t\t% "), {cp("Нет")});
  IO_Nl();
  IO_Writef(cp("Обложка:\t\t% "), {""});
  IO_Nl();
  IO_Close(slot);
  EXPECT_EQ(read_bytes(path), cp("Автор:\t\t\tА. Блок \r\nДиск:\t\t\tНет \r\nОбложка:\t\t \r\n"));
}

TEST_F(Writef, TextIsWrittenPieceByPieceUntilValuesOrDirectivesRunOut) {
  IO_Writef("a%b%c", {1});
  EXPECT_EQ(g_console, "a1b");
  g_console.clear();
  // The text before the surplus value is already out when 1109 is raised.
  EXPECT_EQ(error_code_of([] { IO_Writef("<%>", {1, 2}); }), errcode::kFormatSurplusValue);
  EXPECT_EQ(g_console, "<1>");
  g_console.clear();
  IO_WritefInit("x=%, y=%;");
  EXPECT_EQ(g_console, "x=");
  IO_WritefDom(FmtArg(2.5));
  EXPECT_EQ(g_console, "x=2.5, y=");
  IO_WritefDom(FmtArg("z"));
  EXPECT_EQ(g_console, "x=2.5, y=z;");
  EXPECT_EQ(error_code_of([] { IO_WritefDom(FmtArg(3)); }), errcode::kFormatSurplusValue);
}

}  // namespace
