// The host's error numbers inside the runtime: raising one as run-time error 7000 + n, refusing a
// file that is not a regular one, repeating a host call that a signal interrupted before it did
// anything (EINTR), and writing a whole buffer.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "runtime/run_error.h"

// Raises host error 7000 + `err` at the caller's position; a failure that left no error number
// counts as EIO.
[[noreturn]] inline void raise_errno(int err, SrcLoc loc = SrcLoc::current()) {
  RUN_OsError(errcode::host(err != 0 ? err : EIO), loc);
}

// Refuses a file of mode `mode` that is not a regular file before it is read whole, copied or
// replaced: a folder raises host error EISDIR, a pipe, a device or a socket raises
// errcode::kNotRegularFile (reading one may wait for ever, replacing one destroys the node).
inline void raise_unless_regular(mode_t mode, SrcLoc loc = SrcLoc::current()) {
  if (S_ISREG(mode)) return;
  if (S_ISDIR(mode)) raise_errno(EISDIR, loc);
  RUN_Error(errcode::kNotRegularFile, loc);
}

// Makes the host call `call` (which answers -1 with errno set when it fails) again as long as it
// fails with EINTR, and returns its last answer.
template <class Call>
auto retry_on_eintr(Call call) -> decltype(call()) {
  for (;;) {
    const auto r = call();
    if (!(r < 0 && errno == EINTR)) return r;
  }
}

// Writes all `n` bytes to `fd`, continuing after short and interrupted writes; false with errno
// set when the host refuses (a write that takes nothing counts as EIO). Uses write(2) alone, so
// it is safe inside a signal handler.
inline bool write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = retry_on_eintr([&] { return ::write(fd, p, n); });
    if (w < 0) return false;
    if (w == 0) {
      errno = EIO;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}
