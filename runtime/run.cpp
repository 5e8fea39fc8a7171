// Start and end of the run: the process entry, WinMain's outermost trap, RUN_Init and RUN_End.
#include "runtime/run.h"

#include <cfenv>
#include <exception>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "fatal_stop.h"
#include "fault_signals.h"
#include "heap_settings.h"
#include "run_parts.h"
#include "runtime/err_messages.h"
#include "runtime/err_report.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"
#include "settings_store.h"
#include "stack_room.h"

namespace {

bool g_initialised = false;
void* g_instance = nullptr;
int g_show_mode = 10;
std::fenv_t g_saved_fenv;
std::string g_command_line;
bool g_have_command_line = false;

std::string quoted_if_needed(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t") == std::string_view::npos) return std::string(arg);
  return "\"" + std::string(arg) + "\"";
}

std::string command_line_of_process() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string line;
  std::size_t start = 0;
  while (start < raw.size()) {
    auto end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    if (!line.empty()) line.push_back(' ');
    line += quoted_if_needed(std::string_view(raw).substr(start, end - start));
    start = end + 1;
  }
  return line;
}

// The first word of a command line: a quoted name up to its closing quote, another up to the
// first blank.
std::string_view first_word(std::string_view line, std::size_t& after) {
  if (!line.empty() && line.front() == '"') {
    const auto close = line.find('"', 1);
    after = close == std::string_view::npos ? line.size() : close + 1;
    return line.substr(1, (close == std::string_view::npos ? line.size() : close) - 1);
  }
  const auto blank = line.find(' ');
  after = blank == std::string_view::npos ? line.size() : blank;
  return line.substr(0, after);
}

// Undoes the parts of a start that had been done when a later step failed.
void undo_start() {
  RUN_RemoveFaultHandlers();
  std::fesetenv(&g_saved_fenv);
}

}  // namespace

void* RUN_GetInstance() { return g_instance; }
int RUN_GetShowMode() { return g_show_mode; }

const std::string& RUN_GetCommandLine() {
  if (!g_have_command_line) RUN_SetCommandLine(command_line_of_process());
  return g_command_line;
}

void RUN_SetCommandLine(std::string command_line) {
  g_command_line = std::move(command_line);
  g_have_command_line = true;
}

std::string_view RUN_SkipProgramName(std::string_view line) {
  std::size_t pos = 0;
  first_word(line, pos);
  while (pos < line.size() && static_cast<unsigned char>(line[pos]) <= ' ') ++pos;
  return line.substr(pos);
}

std::string RUN_ProgramFileName(std::string_view line) {
  std::size_t after = 0;
  const std::string_view word = first_word(line, after);
  const auto cut = word.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? word : word.substr(cut + 1));
}

int RUN_Init() {
  if (g_initialised) return errcode::kInitTwice;
  int code = 0;
  std::fegetenv(&g_saved_fenv);
  try {
    HeapSettings heap = RUN_ReadHeapSettings(SettingsStore::load(RUN_SettingsFilePath()),
                                             RUN_ProgramFileName(RUN_GetCommandLine()));
    code = RUN_CheckHeapSettings(heap);
    if (code == 0) {
      RUN_ApplyHeapSettings(heap);
      RUN_NoteThreadStack();
      IO_InitFiles();
      ERR_InitMessages();
      RUN_InstallFaultHandlers();
      RUN_InitParts();
    }
  } catch (const RunError& e) {
    code = e.code();
  } catch (const std::bad_alloc&) {
    code = errcode::kUnexpectedException;
  }
  if (code != 0) {
    undo_start();
    RUN_FatalMessage("Kernog initialization failed with code: " + std::to_string(code));
    return code;
  }
  // The character tables are built with the program (char_tables.h); the symbol table starts
  // empty and lives as long as the process.
  RUN_ResetErrorState();
  g_initialised = true;
  return 0;
}

int RUN_End() {
  if (!g_initialised) return errcode::kInitTwice;
  g_initialised = false;
  int code = 0;
  try {
    IO_EndFiles();
  } catch (const RunError& e) {
    code = e.code();
  }
  // The runtime's own part, first registered, ends last: the fact store's node pool and stored
  // records go when nothing may use them any more.
  if (const int parts_code = RUN_EndParts(); code == 0) code = parts_code;
  undo_start();
  if (code != 0) RUN_FatalMessage("Kernog termination failed with code: " + std::to_string(code));
  return code;
}

bool RUN_IsInitialised() { return g_initialised; }

int WinMain(void* instance, int, const char*, int show_mode) {
  g_instance = instance;
  g_show_mode = show_mode;
  if (const int rc = RUN_Init(); rc != 0) return rc;
  int exit_code = 0;
  try {
    KERNOG_Goal();
  } catch (const RunExit& e) {
    exit_code = e.code();
  } catch (...) {
    // An error that no trap took. Anything that is not a run-time error (a C++ exception from a
    // library) counts as error 1050.
    try {
      throw;
    } catch (const RunError&) {
    } catch (...) {
      RUN_NoteHostFault(errcode::kUnexpectedException, 0);
    }
    exit_code = RUN_GetExitCode();
    try {  // the second trap: a failing report is not reported again
      if (RUN_GetErrorFlag()) KERNOG_ErrReport(exit_code);
    } catch (...) {
    }
  }
  const int end_code = RUN_End();
  if (exit_code == 0) exit_code = end_code;
  return exit_code;
}

int QbxKernogStart(int argc, char** argv) {
  // The floating-point unit starts from its default state: rounding to nearest, 53-bit
  // precision, no traps (overflow and division by zero are checked by the operations).
  std::fesetenv(FE_DFL_ENV);
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line.push_back(' ');
    line += quoted_if_needed(argv[i]);
  }
  RUN_SetCommandLine(line);
  const std::string rest(RUN_SkipProgramName(RUN_GetCommandLine()));
  return WinMain(nullptr, 0, rest.c_str(), 10);
}
