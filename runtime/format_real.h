// Reals in formatted output: the fixed, exponent and general forms with the precision rules of
// the directives (at most 19 digits, 10 when none is given, trailing zeros dropped only then),
// the upper-case exponent letter and the texts of infinities and not-a-number values.
#pragma once

#include <string>

// The three forms a real directive may ask for.
enum class RealForm : char { Fixed = 'f', Exponent = 'e', General = 'g' };

// Appends the text of `value` in `form` to `out`. `precision` is the precision of the directive
// or a negative number when it gave none.
void IO_AppendReal(std::string& out, double value, RealForm form, int precision);
