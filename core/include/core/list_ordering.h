// The list operations of the catalogue: the string sort that orders every category and kind list
// shown to the user (with its single exchange step), the descending sort of the record codes, the
// membership test, the position search and the largest element of a code list.
// Strings are code page 1251 bytes and are ordered byte by byte as unsigned codes, with no case
// folding: digits and Latin letters before Cyrillic, capitals (192-223) before small letters
// (224-255), "Ё" (168) and "ё" (184) before every other Cyrillic letter; a prefix is smaller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The string order: whether `a` comes before `b`.
bool строка_меньше(std::string_view a, std::string_view b);

// The list in ascending string order. Equal strings keep their relative order and duplicates are
// kept: the result is the one repeated `perest` steps arrive at, computed in O(n log n).
std::vector<std::string> sort(std::vector<std::string> list);
// One exchange step: the list with its first adjacent pair X, Y where X is greater than Y
// exchanged. Fails (nullopt) when the list is in order.
std::optional<std::vector<std::string>> perest(const std::vector<std::string>& list);

// The list in descending (signed) order; the result repeated `perestdown` steps arrive at.
std::vector<std::int32_t> sortdown(std::vector<std::int32_t> list);
// One exchange step: the first adjacent pair X, Y with X less than Y exchanged. Fails when the
// list is in descending order.
std::optional<std::vector<std::int32_t>> perestdown(const std::vector<std::int32_t>& list);

// Succeeds when some element equals `s` byte for byte.
bool входитвсписок(std::string_view s, const std::vector<std::string>& list);

// The largest element; fails for the empty list.
std::optional<std::int32_t> максэлсписка(const std::vector<std::int32_t>& list);

// `start` plus the 0-based position of the first element equal to `element`, or `start` plus the
// length of the list when none is. A result beyond the signed 32-bit range raises error 1031.
std::int32_t найтиномерэл_в_списке(const std::vector<std::string>& list, std::string_view element,
                                  std::int32_t start);

// The categories in table order, sorted with `sort`. The caller hands over the categories of the
// table `категории_лит` in table order.
std::vector<std::string> получитьсортировсписоккатегорий(const std::vector<std::string>& все_категории);
