// Reading a whole file's bytes.
#include "file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host_error.h"
#include "runtime/host_path.h"
#include "runtime/scope_exit.h"

int open_regular_for_reading(const std::string& host) {
  // A pipe would hold the reading for ever, a device may never end: what is not a regular file
  // is refused before it is opened, and once more after the opening, which does not wait, in case
  // the name was given to something else meanwhile.
  struct stat st {};
  if (::stat(host.c_str(), &st) == 0) raise_unless_regular(st.st_mode);
  const int fd = retry_on_eintr([&] { return ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); });
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) ::close(fd);
  raise_unless_regular(st.st_mode);
  return fd;
}

std::optional<std::string> RUN_ReadFileBytes(std::string_view file_name, FileExtent extent, std::size_t max_bytes) {
  if (file_name.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  const int fd = open_regular_for_reading(RUN_HostPath(file_name));
  if (fd < 0) raise_errno(errno);
  const auto closed = on_scope_exit([fd] { ::close(fd); });
  struct stat st {};
  if (::fstat(fd, &st) != 0) raise_errno(errno);
  const std::size_t size = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
  if (size > max_bytes) return std::nullopt;
  // Room for one byte more than the size: reading to the end then sees the end without growing.
  const bool to_end = extent == FileExtent::to_end;
  std::string out(to_end ? (size > 0 ? size + 1 : 4096) : size, '\0');
  std::size_t got = 0;
  for (;;) {
    if (got == out.size()) {
      if (!to_end) break;
      if (got > max_bytes) return std::nullopt;  // the file grew past the limit while read
      out.resize(out.size() * 2);
    }
    const ssize_t n = retry_on_eintr([&] { return ::read(fd, out.data() + got, out.size() - got); });
    if (n < 0) raise_errno(errno);
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > max_bytes) return std::nullopt;
  out.resize(got);
  return out;
}

std::string RUN_ReadFileBytes(std::string_view file_name, FileExtent extent) {
  return *RUN_ReadFileBytes(file_name, extent, static_cast<std::size_t>(-1));
}
