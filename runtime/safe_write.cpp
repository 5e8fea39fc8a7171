// Crash-safe replacement of a file and copying to a new file.
#include "safe_write.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host_path.h"
#include "run_error.h"

namespace {

[[noreturn]] void raise_errno(int err) { RUN_OsError(7000 + (err != 0 ? err : EIO)); }

std::string host_name(std::string_view name) {
  if (name.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  return RUN_HostPath(name);
}

// Writes everything; false with errno set on failure.
bool write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) {
      errno = EIO;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

int open_new(const std::string& path, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// The directory part of a host path, "." for a bare name.
std::string directory_of(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void sync_directory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // the rename is done; a directory that cannot be synced is no failure
  (void)::fsync(fd);
  ::close(fd);
}

}  // namespace

void RUN_ReplaceFile(std::string_view file_name, std::string_view bytes) {
  std::string target = host_name(file_name);
  struct stat st {};
  bool had_file = false;
  if (::lstat(target.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) {
      if (char* real = ::realpath(target.c_str(), nullptr)) {
        target = real;
        ::free(real);
      }
    }
    had_file = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }

  // A temporary name next to the target that no other file has.
  std::string temp;
  int fd = -1;
  for (int n = 0; fd < 0; ++n) {
    temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(n);
    fd = open_new(temp, 0666);
    if (fd < 0 && (errno != EEXIST || n > 1000)) raise_errno(errno);
  }
  int err = 0;
  if (had_file) (void)::fchmod(fd, st.st_mode & 07777);
  if (!write_all(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    raise_errno(err);
  }
  sync_directory(directory_of(target));
}

bool RUN_CopyToNewFile(std::string_view from, std::string_view to) {
  const std::string src = host_name(from);
  const std::string dst = host_name(to);
  int in;
  do {
    in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  } while (in < 0 && errno == EINTR);
  if (in < 0) raise_errno(errno);
  struct stat st {};
  const mode_t mode = ::fstat(in, &st) == 0 ? (st.st_mode & 07777) : 0666;
  const int out = open_new(dst, mode);
  if (out < 0) {
    const int e = errno;
    ::close(in);
    if (e == EEXIST) return false;
    raise_errno(e);
  }
  int err = 0;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    if (!write_all(out, buf, static_cast<std::size_t>(n))) {
      err = errno;
      break;
    }
  }
  if (err == 0 && ::fsync(out) != 0) err = errno;
  if (::close(out) != 0 && err == 0) err = errno;
  ::close(in);
  if (err != 0) {
    ::unlink(dst.c_str());
    raise_errno(err);
  }
  return true;
}

bool RUN_FileExists(std::string_view file_name) {
  if (file_name.find('\0') != std::string_view::npos) return false;
  struct stat st {};
  return ::lstat(RUN_HostPath(file_name).c_str(), &st) == 0;
}
