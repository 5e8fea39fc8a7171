// The fault handlers, their alternate stack, and the mapping of faults to run-time errors.
#include "fault_signals.h"

#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "err_messages.h"
#include "fatal_stop.h"
#include "run_error.h"
#include "stack_room.h"

namespace {

// Room for composing the report on the alternate stack (reading the message file included).
constexpr std::size_t kAltStackSize = std::size_t{1} << 20;
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct sigaction g_previous[kSignalCount];
stack_t g_previous_alt{};
void* g_alt_stack = nullptr;
bool g_installed = false;

volatile sig_atomic_t g_depth = 0;       // faults being handled right now
volatile sig_atomic_t g_first_code = 0;  // the code of the outermost one

std::uintptr_t stack_pointer_of(void* context) {
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return static_cast<std::uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
  return static_cast<std::uintptr_t>(uc->uc_mcontext.sp);
#else
  (void)uc;
  return 0;
#endif
}

void write_raw(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  if (::write(STDERR_FILENO, text, n) < 0) return;
}

void on_fault(int sig, siginfo_t* info, void* context) {
  const int depth = g_depth;
  g_depth = depth + 1;
  const auto host_code = static_cast<unsigned>(sig);
  if (depth >= 2) {  // the nested report itself failed: nothing more is tried
    write_raw("Kernog program terminated on fatal error\n");
    ::_exit(g_first_code);
  }
  if (depth == 1) {
    char text[64];
    std::snprintf(text, sizeof text, "Unable to handle nested exception (code = %X)", host_code);
    RUN_FatalStop(g_first_code, text, false);
  }
  // A box that waits for the user may take its time; a report that hangs on the terminal may not.
  if (!RUN_GetErrorBoxFn()) ::alarm(10);
  const bool overflow =
      sig == SIGSEGV && RUN_IsStackOverflowFault(reinterpret_cast<std::uintptr_t>(info->si_addr),
                                                 stack_pointer_of(context));
  const int code = RUN_FaultErrorCode(sig, info->si_code, overflow);
  g_first_code = code;
  RUN_NoteHostFault(code, host_code);
  std::string text;
  try {
    text = ERR_GetSysErrorMsg(code);
  } catch (...) {
    text.clear();
  }
  RUN_FatalStop(code, text, false);
}

}  // namespace

int RUN_FaultErrorCode(int signal, int si_code, bool stack_overflow) {
  switch (signal) {
    case SIGSEGV:
      return stack_overflow ? 1010 : 1009;
    case SIGBUS:
      return 1009;
    case SIGFPE:
      switch (si_code) {
        case FPE_INTDIV:
        case FPE_FLTDIV:
          return 1032;
        case FPE_INTOVF:
          return 1031;
        case FPE_FLTOVF:
          return 1030;
        case FPE_FLTUND:
        case FPE_FLTRES:
          return 1033;
        default:
          return 1050;
      }
    default:
      return 1050;
  }
}

void RUN_InstallFaultHandlers() {
  if (g_installed) return;
  g_alt_stack = ::mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (g_alt_stack == MAP_FAILED) g_alt_stack = nullptr;
  if (g_alt_stack) {
    stack_t ss{};
    ss.ss_sp = g_alt_stack;
    ss.ss_size = kAltStackSize;
    ss.ss_flags = 0;
    if (::sigaltstack(&ss, &g_previous_alt) == 0) {
      RUN_NoteAltStack(g_alt_stack, kAltStackSize);
    } else {
      ::munmap(g_alt_stack, kAltStackSize);
      g_alt_stack = nullptr;
    }
  }
  struct sigaction sa {};
  sa.sa_sigaction = on_fault;
  sigemptyset(&sa.sa_mask);
  // SA_NODEFER: a fault inside the handler comes back to it (the nested-fault stop) instead of
  // killing the process without a word.
  sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
  for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &sa, &g_previous[i]);
  g_depth = 0;
  g_installed = true;
}

void RUN_RemoveFaultHandlers() {
  if (!g_installed) return;
  for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
  if (g_alt_stack) {
    ::sigaltstack(&g_previous_alt, nullptr);
    RUN_NoteAltStack(nullptr, 0);
    ::munmap(g_alt_stack, kAltStackSize);
    g_alt_stack = nullptr;
  }
  g_installed = false;
}
