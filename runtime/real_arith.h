// Real arithmetic where integers and reals meet: 64-bit IEEE reals, rounding to nearest. Overflow
// and division by zero are checked explicitly (floating-point traps stay off): a finite operation
// whose result is infinite raises error 1030, a division by zero raises error 1032.
#pragma once

#include <compare>
#include <cstdint>

// The real with the same value as the integer.
double PFP_IntReal(std::int32_t value);
// The integer nearest to the real, halves away from zero (2.5 gives 3, -2.5 gives -3). A value
// above 2147483647 or below -2147483648, or not a number, raises error 1031.
std::int32_t PFP_RealLong(double value);

double PFP_Add(double a, double b);
double PFP_Sub(double a, double b);
double PFP_Mult(double a, double b);
double PFP_Div(double a, double b);
// The ordering of two reals for the comparison operators (unordered when either is not a number).
std::partial_ordering PFP_COMP(double a, double b);
