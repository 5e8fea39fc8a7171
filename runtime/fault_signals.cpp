// The fault handlers, their alternate stack, their reports composed ahead of any fault, and the
// mapping of faults to run-time errors.
#include "fault_signals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "fatal_stop.h"
#include "runtime/codepage.h"
#include "runtime/err_messages.h"
#include "runtime/error_codes.h"
#include "stack_room.h"

namespace {

// Room for the handler on the alternate stack (reserved, not committed, until it is used).
constexpr std::size_t kAltStackSize = std::size_t{1} << 20;
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
// The codes a fault can have, apart from 1050, whose fallback text names the signal.
constexpr int kFaultCodes[] = {errcode::kAccessViolation, errcode::kStackOverflow, errcode::kRealOverflow,
                                errcode::kIntOverflow,     errcode::kDivisionByZero, errcode::kRealUnderflow};
constexpr int kFaultCodeCount = sizeof kFaultCodes / sizeof kFaultCodes[0];

// The bytes of one report, built without allocating (usable inside the handler too). A message
// too long for it is cut so that the closing line always fits.
class ReportText {
 public:
  static constexpr std::size_t kCapacity = 1024;
  static constexpr std::size_t kMaxMessage = kCapacity - 128;

  // "Kernog fatal error message: <message>" and the line that ends every fatal stop.
  void compose(std::string_view message) {
    size_ = 0;
    add(RUN_FatalTitle);
    add(": ");
    add(message.substr(0, kMaxMessage));
    add("\n");
    add(RUN_FatalTitle);
    add(": ");
    add(RUN_TerminatedText);
    add("\n");
  }
  void add(std::string_view s) {
    for (std::size_t i = 0; i < s.size() && size_ < kCapacity; ++i) bytes_[size_++] = s[i];
  }
  // `v` in upper-case digits of `base`.
  void add_number(unsigned v, unsigned base) {
    char digits[32];
    std::size_t n = 0;
    do {
      digits[n++] = "0123456789ABCDEF"[v % base];
      v /= base;
    } while (v != 0);
    while (n > 0 && size_ < kCapacity) bytes_[size_++] = digits[--n];
  }
  bool empty() const { return size_ == 0; }
  std::string_view text() const { return std::string_view(bytes_, size_); }

 private:
  char bytes_[kCapacity];
  std::size_t size_ = 0;
};

struct sigaction g_previous[kSignalCount];
stack_t g_previous_alt{};
void* g_alt_stack = nullptr;
bool g_installed = false;

ReportText g_reports[kFaultCodeCount];      // one per code of kFaultCodes
ReportText g_unexpected[kSignalCount];      // 1050, one per signal of kSignals
volatile sig_atomic_t g_time_limit = 10;    // seconds

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

// The time limit ran out while the report was being written.
void on_time_limit(int) { ::_exit(g_first_code); }

// From now on the process ends with the fault's code after the time limit, whatever blocks.
void arm_time_limit() {
  struct sigaction sa {};
  sa.sa_handler = on_time_limit;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_ONSTACK;
  ::sigaction(SIGALRM, &sa, nullptr);
  sigset_t alarm_only;
  sigemptyset(&alarm_only);
  sigaddset(&alarm_only, SIGALRM);
  ::pthread_sigmask(SIG_UNBLOCK, &alarm_only, nullptr);
  ::alarm(static_cast<unsigned>(g_time_limit));
}

const ReportText& report_of(int code, int sig) {
  for (int i = 0; i < kFaultCodeCount; ++i)
    if (kFaultCodes[i] == code) return g_reports[i];
  for (int i = 0; i < kSignalCount; ++i)
    if (kSignals[i] == sig) return g_unexpected[i];
  return g_unexpected[kSignalCount - 1];
}

void on_fault(int sig, siginfo_t* info, void* context) {
  const int depth = g_depth;
  g_depth = depth + 1;
  if (depth >= 2) {  // the nested report itself failed: nothing more is tried
    RUN_WriteStderr(RUN_TerminatedText);
    RUN_WriteStderr("\n");
    ::_exit(g_first_code);
  }
  if (depth == 1) {
    ReportText message;
    message.add("Unable to handle nested exception (code = ");
    message.add_number(static_cast<unsigned>(sig), 16);
    message.add(")");
    ReportText report;
    report.compose(message.text());
    RUN_WriteStderr(report.text());
    ::_exit(g_first_code);
  }
  const bool overflow =
      sig == SIGSEGV && RUN_IsStackOverflowFault(reinterpret_cast<std::uintptr_t>(info->si_addr),
                                                 stack_pointer_of(context));
  const int code = RUN_FaultErrorCode(sig, info->si_code, overflow);
  g_first_code = code;
  arm_time_limit();
  const ReportText& prepared = report_of(code, sig);
  if (!prepared.empty()) {
    RUN_WriteStderr(prepared.text());
  } else {  // composed before the reports were (or without memory for their texts): the bare code
    ReportText message;
    message.add_number(static_cast<unsigned>(code), 10);
    ReportText report;
    report.compose(message.text());
    RUN_WriteStderr(report.text());
  }
  ::_exit(code);
}

}  // namespace

int RUN_FaultErrorCode(int signal, int si_code, bool stack_overflow) {
  switch (signal) {
    case SIGSEGV:
      return stack_overflow ? errcode::kStackOverflow : errcode::kAccessViolation;
    case SIGBUS:
      return errcode::kAccessViolation;
    case SIGFPE:
      switch (si_code) {
        case FPE_INTDIV:
        case FPE_FLTDIV:
          return errcode::kDivisionByZero;
        case FPE_INTOVF:
          return errcode::kIntOverflow;
        case FPE_FLTOVF:
          return errcode::kRealOverflow;
        case FPE_FLTUND:
        case FPE_FLTRES:
          return errcode::kRealUnderflow;
        default:
          return errcode::kUnexpectedException;
      }
    default:
      return errcode::kUnexpectedException;
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
  RUN_PrepareFaultReports();
}

void RUN_PrepareFaultReports() {
  if (!g_installed) return;
  // A text that cannot be had leaves its report empty: the handler then writes the bare code.
  try {
    // The standard error stream is the host's: UTF-8, like the host's file names.
    for (int i = 0; i < kFaultCodeCount; ++i) g_reports[i].compose(cp1251::to_utf8(ERR_GetSysErrorMsg(kFaultCodes[i])));
    for (int i = 0; i < kSignalCount; ++i)
      g_unexpected[i].compose(cp1251::to_utf8(
          ERR_GetSysErrorMsg(errcode::kUnexpectedException, static_cast<unsigned>(kSignals[i]))));
  } catch (...) {
  }
}

void RUN_SetFaultReportTimeLimit(unsigned seconds) {
  // alarm(0) would set no limit at all; a day is as good as for ever.
  g_time_limit = static_cast<sig_atomic_t>(seconds < 1 ? 1 : seconds > 86400 ? 86400 : seconds);
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
