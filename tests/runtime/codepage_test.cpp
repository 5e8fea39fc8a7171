// The code page table and the _cp literal against the system's iconv, byte by byte.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "runtime/codepage.h"

namespace {

// One conversion through the system's iconv; nothing when iconv rejects the input.
std::optional<std::string> iconv_convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string src = in;
  std::string out(in.size() * 4 + 8, '\0');
  char* ip = src.data();
  size_t il = src.size();
  char* op = out.data();
  size_t ol = out.size();
  const size_t rc = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return std::nullopt;
  out.resize(out.size() - ol);
  return out;
}

TEST(CodePage, EveryByteMatchesIconvBothWays) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto via_iconv = iconv_convert("UTF-8", "CP1251", byte);
    if (b == 0x98) {
      EXPECT_FALSE(via_iconv.has_value()) << "iconv defines 0x98";
      EXPECT_FALSE(cp1251::is_defined(0x98));
    } else {
      ASSERT_TRUE(via_iconv.has_value()) << "byte " << b;
      EXPECT_TRUE(cp1251::is_defined(static_cast<std::uint8_t>(b)));
      EXPECT_EQ(cp1251::to_utf8(byte), *via_iconv) << "byte " << b;
      EXPECT_EQ(cp1251::from_utf8(*via_iconv), byte) << "byte " << b;
      EXPECT_EQ(iconv_convert("CP1251", "UTF-8", cp1251::to_utf8(byte)), byte) << "byte " << b;
    }
    // Every byte, the undefined one included, survives a trip through Unicode.
    EXPECT_EQ(cp1251::from_utf8(cp1251::to_utf8(byte)), byte) << "byte " << b;
  }
}

TEST(CodePage, CharactersWithoutCp1251FormBecomeReplacement) {
  EXPECT_EQ(cp1251::from_utf8("a\xe4\xb8\xad" "b"), "a?b");         // a CJK character
  EXPECT_EQ(cp1251::from_utf8("\xff" "x", '#'), "#x");               // malformed UTF-8
  EXPECT_FALSE(cp1251::from_unicode(U'\u4E2D').has_value());
  EXPECT_EQ(cp1251::from_unicode(U'ё'), std::optional<std::uint8_t>(184));
  EXPECT_EQ(cp1251::from_unicode(U'Ё'), std::optional<std::uint8_t>(168));
}

TEST(CodePage, ExactConversionRefusesWhatCp1251CannotHold) {
  EXPECT_EQ(cp1251::from_utf8_exact("Ёж №1"), std::optional<std::string>("Ёж №1"_cp));
  char32_t refused = 0;
  EXPECT_FALSE(cp1251::from_utf8_exact("a\xe4\xb8\xad" "b", &refused));  // a CJK character
  EXPECT_EQ(refused, U'\u4E2D');
  EXPECT_FALSE(cp1251::from_utf8_exact("\xd0", &refused));  // a sequence cut short
  EXPECT_EQ(refused, U'\uFFFD');
  // Well-formed UTF-8 only: overlong forms, surrogates and stray continuation bytes are not.
  EXPECT_TRUE(cp1251::is_utf8("plain ASCII"));
  EXPECT_TRUE(cp1251::is_utf8("Толстой \xf0\x9f\x93\x9a"));
  EXPECT_FALSE(cp1251::is_utf8("Толстой"_cp));  // the same text in cp1251
  EXPECT_FALSE(cp1251::is_utf8("\xc0\xaf"));
  EXPECT_FALSE(cp1251::is_utf8("\xed\xa0\x80"));
  EXPECT_FALSE(cp1251::is_utf8("\x80"));
  EXPECT_FALSE(cp1251::is_utf8("\xf4\x90\x80\x80"));
}

TEST(CodePage, LiteralEncodesAtCompileTime) {
  constexpr std::string_view title = "Фолиарх"_cp;
  static_assert(title.size() == 7);
  static_assert(static_cast<unsigned char>(title[0]) == 0xD4);  // Ф
  EXPECT_EQ(std::string(title), *iconv_convert("CP1251", "UTF-8", "Фолиарх"));
  EXPECT_EQ(std::string("Автор:\t\t\t% "_cp), *iconv_convert("CP1251", "UTF-8", "Автор:\t\t\t% "));
  EXPECT_EQ(std::string("Твёрдый №"_cp), *iconv_convert("CP1251", "UTF-8", "Твёрдый №"));
  EXPECT_EQ(""_cp.size(), 0u);
  EXPECT_EQ("Фолиарх"_cps, std::string(title));
  EXPECT_EQ("Фолиарх"_cp.data()[7], '\0');  // NUL-terminated storage
}

}  // namespace
