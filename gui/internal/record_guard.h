// Freed window records made unusable. A window record is freed while frames above it may still
// hold its address (a handler destroyed the window during a call that delivered an event); code
// that touches the record after such a call must look it up again (live_record). With the guard
// on, each record has memory pages of its own; when it is freed its pages lose every access right
// and are never given out again, so any later read or write through a stale address stops the
// process at once with "a freed window record was used" on the error output, in an ordinary
// build. The guard is on in debug builds and wherever a test switches it on, except under
// AddressSanitizer, which catches such a use itself and says more; a record made while it is off
// is freed as ordinary memory.
#pragma once

#include <cstddef>

namespace gui_detail {

void guard_freed_records(bool on);
bool freed_records_guarded();

// The memory of one window record, and its release (see WindowRecord's operator new and delete).
void* allocate_record(std::size_t size);
void free_record(void* p, std::size_t size) noexcept;

}  // namespace gui_detail
