// How much machine stack the running code has left, and whether a faulting address lies at the
// stack's limit (a stack overflow). The main thread's bounds are recorded at the start of the
// run; another thread's bounds are taken the first time it asks; the fault handler's alternate
// stack is known by its own region.
#pragma once

#include <cstddef>
#include <cstdint>

// Records the calling thread's stack bounds (the runtime calls it on the main thread at start).
void RUN_NoteThreadStack();
// Registers the alternate stack the fault handler runs on; null forgets it.
void RUN_NoteAltStack(const void* low, std::size_t size);
// Bytes between the caller's frame and the low end of the stack it runs on; SIZE_MAX when the
// bounds are unknown.
std::size_t RUN_StackBytesLeft();
// Whether a fault at `fault_addr`, with the stack pointer `sp` (0 when unknown) at the time of the
// fault, is a stack overflow: the address lies at the limit of the faulting thread's recorded
// stack, or right at the stack pointer. Safe inside a signal handler.
bool RUN_IsStackOverflowFault(std::uintptr_t fault_addr, std::uintptr_t sp);
