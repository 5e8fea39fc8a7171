// The fact-file reader: one value of any value type, or one fact term of a section, read from a
// single line. The reader never looks beyond the end of its line. A parse error stores the
// offset of the failing character in RNT_ReadTermErrorLinePos, keeps a copy of the line for the
// error report, and raises its run-time error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/error_codes.h"
#include "runtime/fact_store.h"
#include "runtime/value_term.h"
#include "runtime/value_type.h"

// The reader raises the kRead* codes of runtime/error_codes.h (1047, 1401-1410) and
// errcode::kIntOverflow for an integer too large for its type.

// Lists and compound values nested deeper than this raise 1010 (stack overflow) rather than
// letting a hostile line exhaust the machine stack through a domain that contains itself.
inline constexpr std::size_t kReadMaxDepth = 1000;

// Byte offset, in the consulted file, of the start of the line that failed (set by RNT_Consult).
extern std::size_t RNT_ConsultErrorFilepos;
// Offset within its line of the character at which the last read failed.
extern std::size_t RNT_ReadTermErrorLinePos;
// A copy of the line of the last failed read.
const std::string& RNT_ReadTermErrorLine();
// The three above back at their start (0, 0 and no line): the runtime's reset calls it, so a
// read error of one run is not reported as the position of the next.
void RNT_ResetReadErrorPosition();

// Reads values from one line, from left to right.
class TermLineReader {
 public:
  explicit TermLineReader(std::string_view line) : line_(line) {}

  // Reads a value of `type` at the current position (blanks before it skipped) into `out`,
  // reusing its storage.
  void read(const TypeDesc& type, Term& out);
  // Reads a fact term of `section`: a compound of the section's record type.
  void read_fact(const FactSection& section, Term& out) { read(section.record_type(), out); }

  std::size_t pos() const { return pos_; }
  std::string_view line() const { return line_; }
  // Raises `code` at offset `at` of the line.
  [[noreturn]] void fail(int code, std::size_t at) const;

 private:
  void read_integer(TypeCode code, Term& out);
  void read_real(Term& out);
  void read_string(std::string& out);
  void read_char(Term& out);
  void read_binary(Term& out);
  void read_list(const TypeDesc& type, Term& out);
  void read_compound(const TypeDesc& type, Term& out);
  void skip_blanks();
  bool at(char c) const { return pos_ < line_.size() && line_[pos_] == c; }

  std::string_view line_;
  std::size_t pos_ = 0;
  std::size_t depth_ = 0;
};

// Reads one value of `type` from `text` with the fact-file reader; after the value only blanks,
// tabs and line-end bytes may follow (anything else: 1047). The value ends at the first line
// feed of `text`.
Term RNT_TermStr_oi(const TypeDesc& type, std::string_view text);
