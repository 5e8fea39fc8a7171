// The lock of a catalogue folder: an fcntl record lock over the whole of the folder's lock file.
//
// Waiting polls the host's non-blocking lock rather than blocking in it: a blocking wait cannot be
// given a timeout or interrupted for the caller's events without signals, and on NFS the host
// itself polls a blocked lock at intervals of up to 30 s. The pause between tries grows from 1 ms
// to 10 ms, so a freed lock is taken within about 10 ms at the cost of about a hundred tries a
// second while waiting.
#include "runtime/folder_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#include "host_error.h"
#include "runtime/host_path.h"
#include "runtime/scope_exit.h"

namespace {

constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{10};

int open_in(int dir, const char* name, int flags, mode_t mode = 0) {
  return retry_on_eintr([&] { return ::openat(dir, name, flags | O_CLOEXEC, mode); });
}

// The permissions a new lock file gets: read and write for each class of user that may read and
// write in the folder, so that every desk that can change the catalogue can also lock it, whatever
// the creating desk's umask.
mode_t lock_file_mode(int dir) {
  struct stat st {};
  return ::fstat(dir, &st) == 0 ? (st.st_mode & 0666) : 0644;
}

// Opens the folder's lock file, making it when missing; an exclusive lock needs it open for
// writing, a shared one for reading. Raises the host's error when it cannot.
int open_lock_file(std::string_view folder, FolderLockMode mode) {
  if (folder.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  const std::string host = folder.empty() ? std::string(".") : RUN_HostPath(folder);
  const int dir = open_in(AT_FDCWD, host.c_str(), O_PATH | O_DIRECTORY);
  if (dir < 0) raise_errno(errno);
  const auto closed = on_scope_exit([dir] { ::close(dir); });
  const std::string name(RUN_FolderLockFileName);
  for (;;) {
    int fd = open_in(dir, name.c_str(), O_RDWR | O_NOCTTY);
    if (fd >= 0) return fd;
    if (errno != ENOENT) {
      // A reader may lock a lock file it can only read.
      if (mode == FolderLockMode::shared && (errno == EACCES || errno == EROFS)) {
        fd = open_in(dir, name.c_str(), O_RDONLY | O_NOCTTY);
        if (fd >= 0) return fd;
      }
      raise_errno(errno);
    }
    const mode_t perms = lock_file_mode(dir);
    fd = open_in(dir, name.c_str(), O_RDWR | O_NOCTTY | O_CREAT | O_EXCL, perms);
    if (fd >= 0) {
      (void)::fchmod(fd, perms);  // past the umask; a lock file that keeps its umask still locks
      return fd;
    }
    if (errno != EEXIST) raise_errno(errno);
    // Another desk made it meanwhile: open that one.
  }
}

enum class Attempt { taken, busy };

// One non-blocking try for the lock over the whole file. `ofd` says whether the host's
// open-file-description locks are used; it is cleared (and the classic lock tried) when the host
// turns out not to have them. Raises the host's error for anything but "held by another".
Attempt try_lock(int fd, FolderLockMode mode, bool& ofd) {
  struct flock fl {};
  fl.l_type = mode == FolderLockMode::exclusive ? F_WRLCK : F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // to the end of the file, however long it grows
  fl.l_pid = 0;
  for (;;) {
#ifdef F_OFD_SETLK
    const int command = ofd ? F_OFD_SETLK : F_SETLK;
#else
    const int command = F_SETLK;
    ofd = false;
#endif
    if (::fcntl(fd, command, &fl) == 0) return Attempt::taken;
    const int err = errno;
    if (err == EINTR) continue;
    if (err == EAGAIN || err == EACCES) return Attempt::busy;
    if (err == EINVAL && ofd) {
      ofd = false;
      continue;
    }
    raise_errno(err);
  }
}

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), mode_(other.mode_) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    unlock();
    fd_ = std::exchange(other.fd_, -1);
    mode_ = other.mode_;
  }
  return *this;
}

FolderLock::~FolderLock() { unlock(); }

void FolderLock::unlock() noexcept {
  // Closing the lock file's last descriptor releases the lock.
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

std::optional<FolderLock> RUN_LockFolder(std::string_view folder, FolderLockMode mode,
                                         std::chrono::milliseconds timeout,
                                         const std::function<void()>& on_wait) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto deadline = start + std::max(timeout, std::chrono::milliseconds(0));
  // The open lock file, closed again by this value's end unless the lock is taken.
  FolderLock lock(open_lock_file(folder, mode), mode);
  bool ofd = true;
  auto pause = kFirstPause;
  auto next_call = start;  // the callback's first run: right after the first refused try
  for (;;) {
    if (try_lock(lock.fd_, mode, ofd) == Attempt::taken) return lock;
    const auto now = Clock::now();
    if (now >= deadline) return std::nullopt;
    if (on_wait && now >= next_call) {
      on_wait();
      next_call = Clock::now() + RUN_FolderLockCallbackPeriod;
      continue;  // try again at once: the callback may have taken long
    }
    auto wake = std::min(now + pause, deadline);
    if (on_wait) wake = std::min(wake, next_call);
    std::this_thread::sleep_until(wake);
    pause = std::min(pause * 2, kLongestPause);
  }
}
