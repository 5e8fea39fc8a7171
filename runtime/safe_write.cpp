// Crash-safe replacement of a file, copying to a new file, and a new folder of copies.
//
// A replacement is written to a file that has no name yet (where the host offers that), put on
// disk, given a temporary name next to the target and renamed over it; a process killed while it
// writes leaves nothing behind. Temporary names are "<name>.tmp-<pid>-<n>", cut so they fit
// wherever the target's name fits; one left by a process that is gone is removed by the next save
// of that file.
#include "runtime/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "host_error.h"
#include "runtime/host_path.h"
#include "runtime/scope_exit.h"

namespace {

std::string host_name(std::string_view name) {
  if (name.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  return RUN_HostPath(name);
}

// A file descriptor closed when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now; the host's error number of the close, 0 when it went well.
  int close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

int open_at(int dir, const char* name, int flags, mode_t mode = 0) {
  return retry_on_eintr([&] { return ::openat(dir, name, flags | O_CLOEXEC, mode); });
}

// The directory of a save, opened, and the target's last name in it.
struct Place {
  Fd dir;
  bool listable = false;  // opened for reading: its entries can be listed and it can be synced
  std::string name;
  std::size_t name_max = NAME_MAX;
};

void open_place(const std::string& path, Place& place) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  place.name = slash == std::string::npos ? path : path.substr(slash + 1);
  place.dir.reset(open_at(AT_FDCWD, dir.c_str(), O_RDONLY | O_DIRECTORY));
  place.listable = place.dir.valid();
  // A folder that may be written but not listed still takes the save.
  if (!place.dir.valid() && errno == EACCES) place.dir.reset(open_at(AT_FDCWD, dir.c_str(), O_PATH | O_DIRECTORY));
  if (!place.dir.valid()) raise_errno(errno);
  const long max = ::fpathconf(place.dir.get(), _PC_NAME_MAX);
  if (max > 0) place.name_max = static_cast<std::size_t>(max);
}

// The first `room` bytes of a host (UTF-8) name, not cutting a character in two.
std::string_view head_of(std::string_view name, std::size_t room) {
  if (name.size() <= room) return name;
  while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80) --room;
  return name.substr(0, room);
}

std::string temporary_suffix(std::string_view pid, std::string_view n) {
  std::string s = ".tmp-";
  s += pid;
  s += '-';
  s += n;
  return s;
}

// "<name>.tmp-<pid>-<n>", the name cut as far as needed to stay within the longest name the
// directory takes.
std::string temporary_name(const Place& place, std::string_view pid, std::string_view n) {
  const std::string suffix = temporary_suffix(pid, n);
  const std::size_t room = place.name_max > suffix.size() ? place.name_max - suffix.size() : 1;
  return std::string(head_of(place.name, room)) + suffix;
}

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The writer's process id when `entry` is a temporary name this module gives the place's target.
std::optional<pid_t> temporary_writer(const Place& place, std::string_view entry) {
  const auto dash = entry.rfind('-');
  if (dash == std::string_view::npos || !all_digits(entry.substr(dash + 1))) return std::nullopt;
  const auto tmp = entry.rfind(".tmp-", dash);
  if (tmp == std::string_view::npos) return std::nullopt;
  const std::string_view pid = entry.substr(tmp + 5, dash - tmp - 5);
  if (!all_digits(pid) || entry != temporary_name(place, pid, entry.substr(dash + 1))) return std::nullopt;
  pid_t value = 0;
  const auto [end, ec] = std::from_chars(pid.data(), pid.data() + pid.size(), value);
  if (ec != std::errc() || end != pid.data() + pid.size() || value <= 0) return std::nullopt;
  return value;
}

// Removes the folder `name` of `parent` with the files in it (a folder of copies holds files
// only); what cannot be removed stays.
void remove_folder(int parent, const char* name) {
  const int fd = open_at(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (fd < 0) return;
  if (DIR* dir = ::fdopendir(fd)) {
    while (const dirent* e = ::readdir(dir))
      if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") (void)::unlinkat(fd, e->d_name, 0);
    ::closedir(dir);
  } else {
    ::close(fd);
  }
  (void)::unlinkat(parent, name, AT_REMOVEDIR);
}

// Removes the temporaries of the target whose writing process is gone. Those of this process are
// stale too: it saves one file at a time, and none of its saves is under way here.
void remove_stale_temporaries(const Place& place) {
  if (!place.listable) return;
  const int fd = ::dup(place.dir.get());
  if (fd < 0) return;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return;
  }
  ::rewinddir(dir);
  const pid_t self = ::getpid();
  while (const dirent* e = ::readdir(dir)) {
    const auto pid = temporary_writer(place, e->d_name);
    if (!pid) continue;
    if (*pid == self || (::kill(*pid, 0) != 0 && errno == ESRCH))
      if (::unlinkat(place.dir.get(), e->d_name, 0) != 0 && errno == EISDIR) remove_folder(place.dir.get(), e->d_name);
  }
  ::closedir(dir);
}

// Opens a new temporary file of the target for writing; its name (empty while it has none) goes
// to `temp`. -1 with errno set when none can be made.
int create_temporary(const Place& place, bool anonymous, std::string& temp) {
  temp.clear();
  if (anonymous) return open_at(place.dir.get(), ".", O_TMPFILE | O_WRONLY, 0666);
  const std::string pid = std::to_string(::getpid());
  for (int n = 0;; ++n) {
    std::string name = temporary_name(place, pid, std::to_string(n));
    const int fd = open_at(place.dir.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      temp = std::move(name);
      return fd;
    }
    if (errno != EEXIST || n > 1000) return -1;
  }
}

// Gives the complete anonymous file `fd` a temporary name; false with errno set when it cannot.
bool link_temporary(const Place& place, int fd, std::string& temp) {
  char self[40];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  const std::string pid = std::to_string(::getpid());
  for (int n = 0; n <= 1000; ++n) {
    std::string name = temporary_name(place, pid, std::to_string(n));
    if (::linkat(AT_FDCWD, self, place.dir.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        (errno == ENOENT && ::linkat(fd, "", place.dir.get(), name.c_str(), AT_EMPTY_PATH) == 0)) {
      temp = std::move(name);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Rewrites the open file in place: room for the new bytes is reserved first where the host can,
// so a full disk fails before the old contents are touched.
void write_in_place(int fd, std::string_view bytes) {
  struct stat st {};
  const auto size = static_cast<off_t>(bytes.size());
  if (::fstat(fd, &st) == 0 && size > st.st_size && ::fallocate(fd, 0, 0, size) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS)
    raise_errno(errno);
  if (!write_all(fd, bytes.data(), bytes.size()) || ::ftruncate(fd, size) != 0 || ::fsync(fd) != 0)
    raise_errno(errno);
}

// The new contents under a temporary name of the target, on disk; 0 or the host's error number.
// `unusable` tells that the host offers no anonymous file here (try again named).
int write_temporary(const Place& place, bool anonymous, const struct stat* old, std::string_view bytes,
                    std::string& temp, bool& unusable) {
  unusable = false;
  Fd fd(create_temporary(place, anonymous, temp));
  if (!fd.valid()) {
    unusable = anonymous;
    return errno;
  }
  if (old != nullptr) {  // the owner first: a change of owner clears the set-id bits
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) (void)::fchown(fd.get(), old->st_uid, old->st_gid);
    (void)::fchmod(fd.get(), old->st_mode & 07777);
  }
  int err = 0;
  if (!write_all(fd.get(), bytes.data(), bytes.size()) || ::fsync(fd.get()) != 0) err = errno;
  if (err == 0 && anonymous && !link_temporary(place, fd.get(), temp)) {
    unusable = true;
    err = errno;
  }
  const int closed = fd.close();
  return err != 0 ? err : closed;
}

// Copies the file `src` (host path) to the new file `name` of the directory `dir`, on disk when
// it returns: 0, or the host's error number (EEXIST when `name` exists). A failed copy is removed.
// A source that is not a regular file raises its error (raise_unless_regular) before anything is
// made.
int copy_to_new_file(const std::string& src, int dir, const char* name) {
  Fd in(open_regular_for_reading(src));
  if (!in.valid()) return errno;
  struct stat st {};
  const mode_t mode = ::fstat(in.get(), &st) == 0 ? (st.st_mode & 07777) : 0666;
  Fd out(open_at(dir, name, O_WRONLY | O_CREAT | O_EXCL, mode));
  if (!out.valid()) return errno;
  int err = 0;
  char buf[65536];
  for (;;) {
    const ssize_t n = retry_on_eintr([&] { return ::read(in.get(), buf, sizeof buf); });
    if (n < 0) {
      err = errno;
      break;
    }
    if (n == 0) break;
    if (!write_all(out.get(), buf, static_cast<std::size_t>(n))) {
      err = errno;
      break;
    }
  }
  if (err == 0 && ::fsync(out.get()) != 0) err = errno;
  const int closed = out.close();
  if (err == 0) err = closed;
  if (err != 0) {
    ::unlinkat(dir, name, 0);
  }
  return err;
}

}  // namespace

void RUN_ReplaceFile(std::string_view file_name, std::string_view bytes) {
  std::string target = host_name(file_name);
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      target = real;
      ::free(real);
    }
  }
  Place place;
  open_place(target, place);
  // Whatever stands under the name (links followed) must be a regular file: a folder, a pipe, a
  // device or a socket is refused and stays as it is, never replaced by a file.
  const bool had_file = ::fstatat(place.dir.get(), place.name.c_str(), &st, 0) == 0;
  if (had_file) raise_unless_regular(st.st_mode);

  // The file is opened for writing first, so a save respects whatever would refuse that (a
  // read-only file, among others) and leaves the file as it was.
  Fd own;
  if (had_file) {
    own.reset(open_at(place.dir.get(), place.name.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK));
    if (!own.valid()) raise_errno(errno);
    if (::fstat(own.get(), &st) != 0) raise_errno(errno);
    raise_unless_regular(st.st_mode);  // the name may have been given to something else meanwhile
  }

  remove_stale_temporaries(place);
  std::string temp;
  bool unusable = false;
  int err = write_temporary(place, true, had_file ? &st : nullptr, bytes, temp, unusable);
  if (err != 0 && unusable) err = write_temporary(place, false, had_file ? &st : nullptr, bytes, temp, unusable);
  if (err != 0 && temp.empty() && own.valid() && (err == EACCES || err == EPERM)) {
    // No new file can be made in the folder, but the file itself may be written: as it stands.
    write_in_place(own.get(), bytes);
    return;
  }
  own.reset();
  if (err == 0 && ::renameat(place.dir.get(), temp.c_str(), place.dir.get(), place.name.c_str()) != 0) err = errno;
  if (err != 0) {
    if (!temp.empty()) ::unlinkat(place.dir.get(), temp.c_str(), 0);
    raise_errno(err);
  }
  // The rename is done; a directory that cannot be synced is no failure.
  if (place.listable) (void)::fsync(place.dir.get());
}

bool RUN_CopyToNewFile(std::string_view from, std::string_view to) {
  const int err = copy_to_new_file(host_name(from), AT_FDCWD, host_name(to).c_str());
  if (err == EEXIST) return false;
  if (err != 0) raise_errno(err);
  return true;
}

bool RUN_CopyToNewFolder(const std::vector<std::string>& files, std::string_view folder) {
  Place place;
  open_place(host_name(folder), place);
  struct stat st {};
  if (::fstatat(place.dir.get(), place.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return false;
  remove_stale_temporaries(place);

  // The copies are made in a temporary folder beside the target, which takes its name only when
  // every copy is on disk.
  const std::string pid = std::to_string(::getpid());
  std::string temp;
  for (int n = 0;; ++n) {
    temp = temporary_name(place, pid, std::to_string(n));
    if (::mkdirat(place.dir.get(), temp.c_str(), 0777) == 0) break;
    if (errno != EEXIST || n > 1000) raise_errno(errno);
  }
  bool published = false;
  const auto cleaned = on_scope_exit([&] {
    if (!published) remove_folder(place.dir.get(), temp.c_str());
  });
  Fd dir(open_at(place.dir.get(), temp.c_str(), O_RDONLY | O_DIRECTORY));
  if (!dir.valid()) raise_errno(errno);
  for (const std::string& file : files) {
    const std::string src = host_name(file);
    const auto slash = src.rfind('/');
    const std::string name = slash == std::string::npos ? src : src.substr(slash + 1);
    if (const int err = copy_to_new_file(src, dir.get(), name.c_str()); err != 0) raise_errno(err);
  }
  if (::fsync(dir.get()) != 0) raise_errno(errno);
  if (::renameat2(place.dir.get(), temp.c_str(), place.dir.get(), place.name.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return false;  // made meanwhile by someone else
    raise_errno(errno);
  }
  published = true;
  if (place.listable) (void)::fsync(place.dir.get());
  return true;
}

bool RUN_FileExists(std::string_view file_name) {
  if (file_name.find('\0') != std::string_view::npos) return false;
  struct stat st {};
  return ::stat(RUN_HostPath(file_name).c_str(), &st) == 0;
}
