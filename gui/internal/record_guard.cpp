// The guard of freed window records (see record_guard.h): pages of their own for each record, no
// access to them once the record is freed, and a word on the error output when a freed record is
// touched.
#include "internal/record_guard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <unordered_set>
#include <vector>

namespace gui_detail {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif
#ifdef NDEBUG
constexpr bool kDebugBuild = false;
#else
constexpr bool kDebugBuild = true;
#endif
constexpr bool kOnAtStart = kDebugBuild && !kAddressSanitizer;

struct Region {
  std::uintptr_t begin = 0;
  std::size_t length = 0;
};

// The guard's bookkeeping lives as long as the process: records are freed until its very end
// (the window table is a static), and a freed region stays barred for ever. A layer reset keeps
// it too, for the same reason.
struct GuardState {
  bool on = kOnAtStart;
  std::unordered_set<void*> guarded;  // live records made while the guard was on
  std::vector<Region> freed;          // barred regions, for the word on the error output
  struct sigaction previous {};
  bool handler_installed = false;
};
GuardState& state() {
  static GuardState* s = new GuardState;
  return *s;
}

std::size_t region_length(std::size_t size) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return (std::max<std::size_t>(size, 1) + page - 1) / page * page;
}

// A fault inside a barred region is named; then the handler that was there before (the test
// framework's, or the default end of the process) is put back and the faulting access, run
// again on return, takes its ordinary course.
void on_fault(int, siginfo_t* info, void*) {
  GuardState& s = state();
  const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (const Region& r : s.freed)
    if (at >= r.begin && at < r.begin + r.length) {
      static const char kWord[] =
          "a freed window record was used (look the record up again after a call that can run a handler)\n";
      (void)!write(STDERR_FILENO, kWord, sizeof kWord - 1);
      break;
    }
  sigaction(SIGSEGV, &s.previous, nullptr);
  s.handler_installed = false;
}

void install_fault_handler(GuardState& s) {
  if (s.handler_installed) return;
  struct sigaction act {};
  act.sa_sigaction = on_fault;
  act.sa_flags = SA_SIGINFO;
  sigemptyset(&act.sa_mask);
  if (sigaction(SIGSEGV, &act, &s.previous) == 0) s.handler_installed = true;
}

}  // namespace

void guard_freed_records(bool on) { state().on = on && !kAddressSanitizer; }
bool freed_records_guarded() { return state().on; }

void* allocate_record(std::size_t size) {
  GuardState& s = state();
  if (!s.on) return ::operator new(size);
  install_fault_handler(s);
  void* p = mmap(nullptr, region_length(size), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  s.guarded.insert(p);
  return p;
}

void free_record(void* p, std::size_t size) noexcept {
  if (!p) return;
  GuardState& s = state();
  const auto it = s.guarded.find(p);
  if (it == s.guarded.end()) {
    ::operator delete(p, size);
    return;
  }
  s.guarded.erase(it);
  const std::size_t length = region_length(size);
  // The pages go back to the system (a later touch would read zeros) and lose every right; the
  // addresses stay reserved, so no later record or other memory can take them.
  madvise(p, length, MADV_DONTNEED);
  mprotect(p, length, PROT_NONE);
  s.freed.push_back({reinterpret_cast<std::uintptr_t>(p), length});
}

}  // namespace gui_detail
