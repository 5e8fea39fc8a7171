// Conversions between text and integers, longs, reals and characters, upper/lower case of
// strings and characters (through the code page 1251 case tables), and the search form of a text. Integer and long are signed
// 32-bit. A conversion that cannot read its text fails (std::nullopt or false); the long forms
// raise error 1031 for a number that does not fit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text to integer: the integer syntax (leading blanks, "-", "0x"/"0o" prefixes), then nothing but
// blanks. " 12 " reads 12; "12a" and "" fail; so does a number outside -2147483648..2147483647.
std::optional<std::int32_t> CONV_s_i_io(std::string_view text);
// Integer to decimal text ("-" before negatives).
std::string CONV_s_i_oi(std::int32_t value);
// Succeeds when the text reads as `value`.
bool CONV_s_i_ii(std::string_view text, std::int32_t value);

// The same for the long type, except that a number outside the signed 32-bit range raises error
// 1031 instead of failing.
std::optional<std::int32_t> CONV_s_l_io(std::string_view text);
std::string CONV_s_l_oi(std::int32_t value);
bool CONV_s_l_ii(std::string_view text, std::int32_t value);

// Text to real: the real syntax, then nothing but blanks.
std::optional<double> CONV_s_r_io(std::string_view text);
// The real in the general form with 10 significant digits: plain notation when the decimal
// exponent lies between -4 and 9, otherwise mantissa, "E", sign and at least two exponent digits;
// trailing zeros of the fraction and then a trailing point removed. Infinities are "+INF" and
// "-INF", not-a-number values "+QNAN" and "-QNAN".
std::string CONV_s_r_oi(double value);

// A one-character string.
std::string CONV_s_c_oi(char ch);

// Every byte of an upper-case string through the lower-case table.
std::string CONV_up_low_io(std::string_view upper);
// Every byte of a lower-case string through the upper-case table.
std::string CONV_up_low_oi(std::string_view lower);
// The same for one character: the lower-case form of `upper`, the upper-case form of `lower`.
char CONV_UpLowCh_io(char upper);
char CONV_UpLowCh_oi(char lower);

// The search form of a text: every byte through the search table of code page 1251, which puts
// Latin and Cyrillic letters in lower case and reads "ё" and "Ё" as "е". Texts that differ only
// in letter case or in ё and е have the same search form, so a search compares search forms.
std::string CONV_SearchForm(std::string_view text);
// The search form of `text` appended to `out`.
void CONV_AppendSearchForm(std::string& out, std::string_view text);
