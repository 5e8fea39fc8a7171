// Formatted output: a format string and typed values made into a new string (format) or written
// piece by piece to the current output device (writef), and the runtime's own message
// formatting. One directive engine serves all (format_engine.h).
//
//   IO_FormatStr("%5.5|%-20.18", {код, автор})   -> "   42|Пушкин А.С.        "
//
// More values than directives raise 1109 when the surplus value is reached; fewer values end the
// output at the first directive without a value (the text behind it is not produced).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "runtime/format_engine.h"

// The text of `fmt` with `values` put into its directives.
std::string IO_FormatStr(std::string_view fmt, std::initializer_list<FmtArg> values);
std::string IO_FormatStr(std::string_view fmt, std::span<const FmtArg> values);

// The same text written to the current output device: the literal text before the first
// directive at once, then each rendered value with the literal text behind it. Text written
// before an error (1109, a device error) stays written.
void IO_Writef(std::string_view fmt, std::initializer_list<FmtArg> values);
void IO_Writef(std::string_view fmt, std::span<const FmtArg> values);

// The same in steps, one value per call. A format in steps and a writef in steps may be under
// way at the same time, but not two of one kind: an Init starts its kind afresh.
// Starts a format of `fmt`; `result` receives the text at IO_FormatEnd and must live until then.
void IO_FormatInit(std::string& result, std::string_view fmt);
// Puts one value; 1109 when no directive is left.
void IO_Format(const FmtArg& value);
// Stores the text built so far in the result given to IO_FormatInit.
void IO_FormatEnd();
// Starts a writef of `fmt`, writing the literal text before the first directive.
void IO_WritefInit(std::string_view fmt);
// Puts one value and writes it with the literal text behind it; 1109 when no directive is left.
void IO_WritefDom(const FmtArg& value);

// A plain machine value for the runtime's own messages: an integer, a real or a text.
class MachineArg {
 public:
  template <class I>
    requires std::is_integral_v<I>
  MachineArg(I v) : v_(static_cast<std::int64_t>(v)) {}
  MachineArg(double v) : v_(v) {}
  MachineArg(std::string_view v) : v_(v) {}
  MachineArg(const std::string& v) : v_(std::string_view(v)) {}
  MachineArg(const char* v) : v_(std::string_view(v)) {}
  const std::variant<std::int64_t, double, std::string_view>& value() const { return v_; }

 private:
  std::variant<std::int64_t, double, std::string_view> v_;
};

// The runtime's own messages: every directive carries its letter, which says how the plain value
// is read ("d", "u", "x", "o", "c" an integer, "R" a reference number, "f", "e", "g" a real, "s"
// a text). A value whose kind does not fit the letter is written as its own kind would be, and
// the letter stays as text.
std::string IO_SPrintf(std::string_view fmt, std::initializer_list<MachineArg> values);
