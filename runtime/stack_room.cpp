// Stack bounds per thread and the stack-overflow test of the fault handler.
#include "stack_room.h"

#include <pthread.h>

namespace {

// Plain values, constant-initialised: a signal handler may read them.
thread_local std::uintptr_t t_low = 0;
thread_local std::uintptr_t t_high = 0;
thread_local bool t_known = false;

std::uintptr_t g_alt_low = 0;
std::uintptr_t g_alt_high = 0;

constexpr std::uintptr_t kGuardReach = std::uintptr_t{1} << 20;  // the host's gap below a stack
constexpr std::uintptr_t kNearStackPointer = 64 * 1024;

}  // namespace

void RUN_NoteThreadStack() {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
  void* addr = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &addr, &size) == 0 && addr != nullptr) {
    t_low = reinterpret_cast<std::uintptr_t>(addr);
    t_high = t_low + size;
    t_known = true;
  }
  pthread_attr_destroy(&attr);
}

void RUN_NoteAltStack(const void* low, std::size_t size) {
  g_alt_low = reinterpret_cast<std::uintptr_t>(low);
  g_alt_high = low ? g_alt_low + size : 0;
}

std::size_t RUN_StackBytesLeft() {
  const auto sp = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (g_alt_low != 0 && sp >= g_alt_low && sp < g_alt_high) return sp - g_alt_low;
  if (!t_known) RUN_NoteThreadStack();
  if (t_known && sp >= t_low && sp <= t_high) return sp - t_low;
  return SIZE_MAX;
}

bool RUN_IsStackOverflowFault(std::uintptr_t fault_addr, std::uintptr_t sp) {
  if (t_known && fault_addr < t_low + kNearStackPointer && fault_addr + kGuardReach >= t_low) return true;
  if (sp != 0) {
    const std::uintptr_t d = fault_addr > sp ? fault_addr - sp : sp - fault_addr;
    if (d <= kNearStackPointer) return true;
  }
  return false;
}
