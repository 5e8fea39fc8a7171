// Checked real arithmetic and real <-> integer conversion.
#include "real_arith.h"

#include <cmath>

#include "runtime/run_error.h"

namespace {

// An infinite result from finite operands is an overflow.
double checked(double result, double a, double b) {
  if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) RUN_Error(errcode::kRealOverflow);
  return result;
}

}  // namespace

double PFP_IntReal(std::int32_t value) { return static_cast<double>(value); }

std::int32_t PFP_RealLong(double value) {
  if (std::isnan(value) || value > 2147483647.0 || value < -2147483648.0) RUN_Error(errcode::kIntOverflow);
  return static_cast<std::int32_t>(std::round(value));
}

double PFP_Add(double a, double b) { return checked(a + b, a, b); }
double PFP_Sub(double a, double b) { return checked(a - b, a, b); }
double PFP_Mult(double a, double b) { return checked(a * b, a, b); }

double PFP_Div(double a, double b) {
  if (b == 0.0) RUN_Error(errcode::kDivisionByZero);
  return checked(a / b, a, b);
}

std::partial_ordering PFP_COMP(double a, double b) { return a <=> b; }
