// The identity of a file: open-and-fstat where the file may be opened, stat where it may not.
//
// Opening matters on NFS: its clients answer stat from a cache of attributes kept for up to a
// minute, while an open asks the server (close-to-open consistency), so another computer's save is
// seen at the next check. Locally an open costs about a microsecond more than a stat.
#include "runtime/file_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host_error.h"
#include "runtime/host_path.h"

namespace {

FileIdentity identity_of(const struct stat& st) {
  FileIdentity id;
  id.exists = true;
  id.device = static_cast<std::uint64_t>(st.st_dev);
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::int64_t>(st.st_size);
  id.modified_seconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  id.modified_nanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
  return id;
}

// The name's absence, or the host's error.
FileIdentity missing_or_raise(int err) {
  if (err == ENOENT || err == ENOTDIR) return FileIdentity{};
  raise_errno(err);
}

}  // namespace

FileIdentity RUN_IdentifyFile(std::string_view file_name) {
  if (file_name.find('\0') != std::string_view::npos) return FileIdentity{};
  const std::string host = RUN_HostPath(file_name);
  struct stat st {};
  // Non-blocking, so that a FIFO or a device under the name never makes the check wait.
  const int fd = retry_on_eintr([&] { return ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); });
  if (fd >= 0) {
    const int r = ::fstat(fd, &st);
    const int err = errno;
    ::close(fd);
    if (r != 0) raise_errno(err);
    return identity_of(st);
  }
  if (errno == ENOENT || errno == ENOTDIR) return FileIdentity{};
  // A file that may not be opened (no read permission, say) still has an identity.
  if (::stat(host.c_str(), &st) != 0) return missing_or_raise(errno);
  return identity_of(st);
}

std::vector<FileIdentity> RUN_IdentifyFiles(const std::vector<std::string>& file_names) {
  std::vector<FileIdentity> ids;
  ids.reserve(file_names.size());
  for (const std::string& name : file_names) ids.push_back(RUN_IdentifyFile(name));
  return ids;
}
