// The number syntax of the system, shared by the text conversions and the fact-file reader:
// the integer form (blanks, an optional "-", an optional "0x"/"0X" or "0o"/"0O" base prefix, at
// least one digit of the base, a magnitude of at most 4294967295) and the real form (blanks, an
// optional sign, digits with an optional point, an optional exponent). Each reader says where it
// stopped, or where and why it failed; neither ever looks past the end of the text it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class NumberFault : std::uint8_t {
  none,
  no_digits,  // no digit of the base where one was expected (the fact-file reader's 1401)
  too_large,  // a magnitude above 4294967295 (the fact-file reader's 1031)
};

// An integer as read: sign and magnitude, so each caller applies the range of its own type.
struct IntegerText {
  NumberFault fault = NumberFault::none;
  bool negative = false;
  std::uint32_t magnitude = 0;
  // On success the offset just after the last digit; on failure the offset of the character at
  // which reading failed (the digit that made the value too large, or where a digit was due).
  std::size_t pos = 0;

  explicit operator bool() const { return fault == NumberFault::none; }
  std::int64_t value() const { return negative ? -static_cast<std::int64_t>(magnitude) : magnitude; }
};

// A real as read; on failure `pos` is the offset where the number was expected.
struct RealText {
  bool ok = false;
  double value = 0.0;
  std::size_t pos = 0;

  explicit operator bool() const { return ok; }
};

// The offset of the first byte at or after `pos` that is not a blank (byte 32; a tab is not a
// blank here).
std::size_t CONV_SkipBlanks(std::string_view text, std::size_t pos);

// Reads an integer at `pos`, leading blanks included.
IntegerText CONV_ReadInteger(std::string_view text, std::size_t pos = 0);

// Reads a real at `pos`, leading blanks included. A value beyond the range of a 64-bit real
// fails; one too small for it reads as zero (or the nearest denormal).
RealText CONV_ReadReal(std::string_view text, std::size_t pos = 0);
