// Formatted output to a string, to the current output device and for the runtime's own
// messages (see format.h).
#include "runtime/format.h"

#include "runtime/file_slots.h"

namespace {

// A format or writef in steps: its own copy of the format string and the text built so far.
struct StepState {
  FormatEngine engine;
  std::string fmt;
  std::string text;
  std::string* result = nullptr;
};

StepState& format_steps() {
  static StepState state;
  return state;
}

StepState& writef_steps() {
  static StepState state;
  return state;
}

// Writes out and empties a writef's pending text (emptied first, so that a device error does not
// leave it to be written a second time).
void write_pending(std::string& text) {
  if (text.empty()) return;
  const std::string piece = std::move(text);
  text.clear();
  IO_WrStr(piece);
}

// The value type a runtime message's letter reads an integer as.
TypeCode integer_type_for(char letter) { return letter == 'R' ? TypeCode::RefNumber : TypeCode::Integer; }

}  // namespace

std::string IO_FormatStr(std::string_view fmt, std::span<const FmtArg> values) {
  std::string out;
  out.reserve(fmt.size() + 64);
  FormatEngine engine;
  engine.start(fmt, out);
  // When the values run out first, the text ends at the first directive without a value.
  for (const FmtArg& v : values) engine.put(v, out);
  return out;
}

std::string IO_FormatStr(std::string_view fmt, std::initializer_list<FmtArg> values) {
  return IO_FormatStr(fmt, std::span<const FmtArg>(values.begin(), values.size()));
}

void IO_Writef(std::string_view fmt, std::span<const FmtArg> values) {
  std::string piece;
  FormatEngine engine;
  engine.start(fmt, piece);
  write_pending(piece);
  for (const FmtArg& v : values) {
    engine.put(v, piece);
    write_pending(piece);
  }
}

void IO_Writef(std::string_view fmt, std::initializer_list<FmtArg> values) {
  IO_Writef(fmt, std::span<const FmtArg>(values.begin(), values.size()));
}

void IO_FormatInit(std::string& result, std::string_view fmt) {
  StepState& s = format_steps();
  s.fmt.assign(fmt);
  s.text.clear();
  s.result = &result;
  s.engine.start(s.fmt, s.text);
}

void IO_Format(const FmtArg& value) {
  StepState& s = format_steps();
  s.engine.put(value, s.text);
}

void IO_FormatEnd() {
  StepState& s = format_steps();
  if (s.result) *s.result = std::move(s.text);
  s.text.clear();
  s.result = nullptr;
}

void IO_WritefInit(std::string_view fmt) {
  StepState& s = writef_steps();
  s.fmt.assign(fmt);
  s.text.clear();
  s.engine.start(s.fmt, s.text);
  write_pending(s.text);
}

void IO_WritefDom(const FmtArg& value) {
  StepState& s = writef_steps();
  s.engine.put(value, s.text);
  write_pending(s.text);
}

std::string IO_SPrintf(std::string_view fmt, std::initializer_list<MachineArg> values) {
  std::string out;
  FormatEngine engine;
  engine.start(fmt, out);
  for (const MachineArg& m : values) {
    const char letter = engine.next_letter();
    if (const auto* i = std::get_if<std::int64_t>(&m.value()))
      engine.put(FmtArg::integral(integer_type_for(letter), *i), out);
    else if (const auto* r = std::get_if<double>(&m.value()))
      engine.put(FmtArg(*r), out);
    else
      engine.put(FmtArg(std::get<std::string_view>(m.value())), out);
  }
  return out;
}
