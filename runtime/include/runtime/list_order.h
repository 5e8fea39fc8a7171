// The order of the lines of a sorted list: the sorted list boxes of the windowing layer keep
// their lines in it, and the catalogue sorts its list lines by it without a list box. Lines are
// code page 1251 bytes.
#pragma once

#include <string_view>

// Compares two lines: case-insensitive; blanks and punctuation first, then digits, Latin
// letters, Cyrillic letters ("ё" right after "е"); lines equal that way are ordered by their
// bytes. Negative, zero or positive like strcmp.
int PSTR_ListCompare(std::string_view a, std::string_view b);
