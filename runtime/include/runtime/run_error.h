// Run-time errors: the RunError exception with its code and source position, the raising
// operations, and the run-time values they set (error flag, exit code, host error number,
// last-error position). A trap is a try/catch that cleans up and rethrows with `throw;` (or a
// guard, runtime/scope_exit.h, where the clean-up is all it does). The codes are named in
// runtime/error_codes.h, included here for every raiser.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "runtime/error_codes.h"

// Where an error arose: the source unit, the included source (empty when the position lies in
// the unit itself) and the position (the line) inside it.
struct SourcePos {
  std::string unit;
  std::string include;
  std::uint32_t pos = 0;
};

// The call site of a raising operation, taken as a default argument. (clang 14 with libstdc++ 12
// has no std::source_location, so the compilers' builtins are used directly.)
struct SrcLoc {
  const char* file = "";
  unsigned line = 0;
  static constexpr SrcLoc current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE()) {
    return SrcLoc{file, line};
  }
};

SourcePos RUN_PosOf(const SrcLoc& loc);

// A numbered run-time error on its way to the newest trap.
class RunError : public std::exception {
 public:
  RunError(int code, SourcePos where);
  int code() const noexcept { return code_; }
  const SourcePos& where() const noexcept { return where_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int code_;
  SourcePos where_;
  std::string what_;
};

// A normal end of the program with an exit code, without a report (RUN_Exit).
class RunExit : public std::exception {
 public:
  explicit RunExit(int code) : code_(code) {}
  int code() const noexcept { return code_; }
  const char* what() const noexcept override { return "RUN_Exit"; }

 private:
  int code_;
};

// Raises run-time error `code`: clears the host error number, sets the error flag, stores the
// code as exit code and the position as last-error position, then throws RunError.
[[noreturn]] void RUN_Error(int code, SrcLoc loc = SrcLoc::current());
// Raises host error `code` = 7000 + n: keeps n as host error number; the exit code is `code`
// when n is below 1000, else 7000.
[[noreturn]] void RUN_OsError(int code, SrcLoc loc = SrcLoc::current());
// Raises the host error of the current `errno`.
[[noreturn]] void RUN_OsErrorFromErrno(SrcLoc loc = SrcLoc::current());
// Raises error 1000: an operation that must succeed found no case for its arguments.
[[noreturn]] void RUN_ErrorExit(SrcLoc loc = SrcLoc::current());
// Raises again, after clean-up, what a trap caught: a host error when a host number is set, a
// plain error when only the flag is set, and a normal exit otherwise.
[[noreturn]] void RUN_ErrorCont(SrcLoc loc = SrcLoc::current());
// Ends the program normally with exit code `code` (no report).
[[noreturn]] void RUN_Exit(int code);

bool RUN_GetErrorFlag();
int RUN_GetExitCode();
void RUN_SetExitCode(int code);
int RUN_GetOsErrorNo();
const SourcePos& RUN_GetLastErrorPos();
// Records a host fault turned into run-time error `code` (1009, 1010, 1030-1033, 1050): the error
// flag and exit code as for RUN_Error, no host error number, no source position, and the fault's
// own code, which the report of error 1050 shows.
void RUN_NoteHostFault(int code, unsigned host_code);
unsigned RUN_GetHostExceptionCode();
// Clears the error flag, the host error number and the exit code (start of a run, tests).
void RUN_ResetErrorState();
