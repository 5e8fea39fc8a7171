// String services: length, concatenation and splitting, taking a character or a prefix off the
// front. Strings are code page 1251 bytes; lengths count bytes. A result said to share the input's
// memory is a std::string_view into the input and lives as long as the input does; every other
// result is a new std::string. An operation that can fail returns std::optional or bool.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The length of a string in bytes.
std::size_t PSTR_str_l_io(std::string_view s);
// Succeeds when the string has exactly `length` bytes.
bool PSTR_str_l_ii(std::string_view s, long long length);
// A new string of `length` blanks. A length above 1073741824 (or below 0) raises error 1602.
std::string PSTR_str_l_oi(long long length);

// `first` followed by `second`.
std::string PSTR_con_iio(std::string_view first, std::string_view second);
// The rest of `whole` after its prefix `first` (shares whole's memory); fails unless `first` is a
// prefix of `whole`.
std::optional<std::string_view> PSTR_con_ioi(std::string_view first, std::string_view whole);
// The part of `whole` before its suffix `second`; fails unless `second` is a suffix of `whole`.
std::optional<std::string> PSTR_con_oii(std::string_view second, std::string_view whole);
// Succeeds when `whole` equals `first` followed by `second`.
bool PSTR_con_iii(std::string_view first, std::string_view second, std::string_view whole);

// A string split into its first byte and the rest (the rest shares the string's memory).
struct FrontChar {
  char ch;
  std::string_view rest;
};
// Fails on the empty string.
std::optional<FrontChar> PSTR_ft_ioo(std::string_view s);
// The rest after the given first byte; fails when the string does not start with it.
std::optional<std::string_view> PSTR_ft_iio(std::string_view s, char ch);
// The first byte when the rest is the given one; fails otherwise.
std::optional<char> PSTR_ft_ioi(std::string_view s, std::string_view rest);
// Succeeds when the string is `ch` followed by `rest`.
bool PSTR_ft_iii(std::string_view s, char ch, std::string_view rest);
// A new string: `ch` followed by `rest`.
std::string PSTR_ft_oii(char ch, std::string_view rest);

// The first `count` bytes as a new string, and the remainder (sharing the string's memory).
struct FrontRest {
  std::string front;
  std::string_view rest;
};
// Fails when the string is shorter than `count` (or `count` is negative).
std::optional<FrontRest> PSTR_fr_str(long long count, std::string_view s);
