// The error-box routine with its standard-error fallback, fatal messages and the fatal stop.
#include "fatal_stop.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "host_error.h"
#include "runtime/codepage.h"

namespace {
ErrorBoxFn g_box = nullptr;
}  // namespace

void RUN_WriteStderr(std::string_view text) { (void)write_all(STDERR_FILENO, text.data(), text.size()); }

void RUN_SetErrorBoxFn(ErrorBoxFn fn) { g_box = fn; }
ErrorBoxFn RUN_GetErrorBoxFn() { return g_box; }

void RUN_ShowErrorBox(const char* title, std::string_view text) {
  if (g_box) {
    g_box(title, text);
    return;
  }
  RUN_WriteStderr(title);
  RUN_WriteStderr(": ");
  RUN_WriteStderr(cp1251::to_utf8(text));  // the stream is the host's: UTF-8
  RUN_WriteStderr("\n");
}

void RUN_FatalMessage(std::string_view text) { RUN_ShowErrorBox(RUN_FatalTitle.data(), text); }

void RUN_FatalStop(int code, std::string_view text) {
  std::fflush(nullptr);
  RUN_FatalMessage(text);
  RUN_FatalMessage(RUN_TerminatedText);
  ::_exit(code);
}
