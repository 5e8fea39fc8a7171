// The raising operations and the run-time values that every raise sets.
#include "runtime/run_error.h"

#include <cerrno>

namespace {
bool g_error_flag = false;
int g_exit_code = 0;
int g_os_error = 0;
unsigned g_host_exception = 0;
SourcePos g_last_pos;

std::string base_name(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

[[noreturn]] void raise(int code, SourcePos where) {
  g_error_flag = true;
  g_last_pos = where;
  throw RunError(code, std::move(where));
}
}  // namespace

SourcePos RUN_PosOf(const SrcLoc& loc) {
  // The unit is the source file of the raise site; a raise inside a header names the header as
  // the included source.
  SourcePos p;
  std::string file = base_name(loc.file);
  if (file.ends_with(".h") || file.ends_with(".hpp"))
    p.include = std::move(file);
  else
    p.unit = std::move(file);
  p.pos = loc.line & 0x7FFFFFu;
  return p;
}

RunError::RunError(int code, SourcePos where)
    : code_(code), where_(std::move(where)), what_("run-time error " + std::to_string(code)) {}

void RUN_Error(int code, SrcLoc loc) {
  g_os_error = 0;
  g_exit_code = code;
  raise(code, RUN_PosOf(loc));
}

void RUN_OsError(int code, SrcLoc loc) {
  g_os_error = errcode::host_number(code);
  g_exit_code = g_os_error < 1000 ? code : errcode::kHostBase;
  raise(code, RUN_PosOf(loc));
}

void RUN_OsErrorFromErrno(SrcLoc loc) { RUN_OsError(errcode::host(errno), loc); }

void RUN_ErrorExit(SrcLoc loc) { RUN_Error(errcode::kNoCase, loc); }

void RUN_ErrorCont(SrcLoc loc) {
  if (g_os_error != 0) {
    g_error_flag = true;
    throw RunError(errcode::host(g_os_error), g_last_pos.pos == 0 ? RUN_PosOf(loc) : g_last_pos);
  }
  if (g_error_flag) throw RunError(g_exit_code, g_last_pos.pos == 0 ? RUN_PosOf(loc) : g_last_pos);
  throw RunExit(g_exit_code);
}

void RUN_Exit(int code) {
  g_exit_code = code;
  throw RunExit(code);
}

bool RUN_GetErrorFlag() { return g_error_flag; }
int RUN_GetExitCode() { return g_exit_code; }
void RUN_SetExitCode(int code) { g_exit_code = code; }
int RUN_GetOsErrorNo() { return g_os_error; }
const SourcePos& RUN_GetLastErrorPos() { return g_last_pos; }

void RUN_NoteHostFault(int code, unsigned host_code) {
  g_error_flag = true;
  g_exit_code = code;
  g_os_error = 0;
  g_host_exception = host_code;
  g_last_pos = {};
}

unsigned RUN_GetHostExceptionCode() { return g_host_exception; }

void RUN_ResetErrorState() {
  g_error_flag = false;
  g_exit_code = 0;
  g_os_error = 0;
  g_host_exception = 0;
  g_last_pos = {};
}
