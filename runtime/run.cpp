// Start and end of the run: the process entry, WinMain's outermost trap, RUN_Init and RUN_End.
#include "run.h"

#include <string>

#include "run_error.h"

namespace {
bool g_initialised = false;
}

int RUN_Init() {
  if (g_initialised) return 999;
  g_initialised = true;
  return 0;
}

int RUN_End() {
  if (!g_initialised) return 999;
  g_initialised = false;
  return 0;
}

bool RUN_IsInitialised() { return g_initialised; }

int WinMain(void*, int, const char*, int) {
  if (const int rc = RUN_Init(); rc != 0) return rc;
  int exit_code = 0;
  try {
    KERNOG_Goal();
  } catch (const RunError& e) {
    exit_code = e.code();
  } catch (const RunExit& e) {
    exit_code = e.code();
  }
  const int end_rc = RUN_End();
  if (exit_code == 0) exit_code = end_rc;
  return exit_code;
}

int QbxKernogStart(int argc, char** argv) {
  std::string rest;
  for (int i = 1; i < argc; ++i) {
    if (!rest.empty()) rest += ' ';
    rest += argv[i];
  }
  return WinMain(nullptr, 0, rest.c_str(), 10);
}
