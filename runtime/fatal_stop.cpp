// The error-box routine with its standard-error fallback, fatal messages and the fatal stop.
#include "fatal_stop.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
ErrorBoxFn g_box = nullptr;
}  // namespace

void RUN_WriteStderr(std::string_view text) {
  const char* p = text.data();
  std::size_t n = text.size();
  while (n > 0) {
    const ssize_t w = ::write(STDERR_FILENO, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
}

void RUN_SetErrorBoxFn(ErrorBoxFn fn) { g_box = fn; }
ErrorBoxFn RUN_GetErrorBoxFn() { return g_box; }

void RUN_ShowErrorBox(const char* title, std::string_view text) {
  if (g_box) {
    g_box(title, text);
    return;
  }
  RUN_WriteStderr(title);
  RUN_WriteStderr(": ");
  RUN_WriteStderr(text);
  RUN_WriteStderr("\n");
}

void RUN_FatalMessage(std::string_view text) { RUN_ShowErrorBox(RUN_FatalTitle.data(), text); }

void RUN_FatalStop(int code, std::string_view text) {
  std::fflush(nullptr);
  RUN_FatalMessage(text);
  RUN_FatalMessage(RUN_TerminatedText);
  ::_exit(code);
}
