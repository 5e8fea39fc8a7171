// Reading a whole file's bytes.
#include "file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/host_path.h"
#include "runtime/run_error.h"

namespace {
[[noreturn]] void raise_errno(int err) { RUN_OsError(7000 + (err != 0 ? err : EIO)); }

// Closes its descriptor however the reading ends, a buffer that cannot be had included.
struct OpenFile {
  int fd;
  ~OpenFile() { ::close(fd); }
};
}  // namespace

std::string RUN_ReadFileBytes(std::string_view file_name) {
  if (file_name.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  const std::string host = RUN_HostPath(file_name);
  int fd;
  do {
    fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) raise_errno(errno);
  const OpenFile file{fd};
  std::string out;
  int err = 0;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else {
    // Read what the file holds, and more if it grew meanwhile.
    out.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096);
    std::size_t got = 0;
    for (;;) {
      if (got == out.size()) out.resize(out.size() * 2);
      const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
      if (n < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    out.resize(got);
  }
  if (err != 0) raise_errno(err);
  return out;
}
