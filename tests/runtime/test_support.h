// Helpers of the runtime tests: a temporary directory that removes itself, whole-file reading and
// writing in bytes, catching a run-time error's code, and file permissions that hold for root too.
#pragma once

#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "runtime/run_error.h"

// Under AddressSanitizer a failed allocation ends the process (its operator new never throws) and
// its allocator replaces the C library's: tests of those paths are skipped there.
#if defined(__SANITIZE_ADDRESS__)
#define FOLIARKH_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FOLIARKH_ASAN 1
#endif
#endif

namespace test_support {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "foliarkh-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The code of the run-time error `f` raises; 0 when it raises none.
inline int error_code_of(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// The code of the run-time error `f` raises (0 for none) when it runs in a child process, or -1
// when the child has not finished within `seconds` and was ended: for what must not wait.
inline int error_code_within(int seconds, const std::function<void()>& f) {
  int fds[2];
  if (::pipe(fds) != 0) return -2;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    const int code = error_code_of(f);
    (void)!::write(fds[1], &code, sizeof code);
    ::_exit(0);
  }
  ::close(fds[1]);
  pollfd p{fds[0], POLLIN, 0};
  int code = -1;
  if (::poll(&p, 1, seconds * 1000) != 1 || ::read(fds[0], &code, sizeof code) != sizeof code) code = -1;
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(fds[0]);
  return code;
}

// Things that stand in the file system under a name and are not regular files. Each maker
// makes one at `path` and tells whether it could (a device node needs the right to make one).
inline bool make_pipe(const std::string& path) { return ::mkfifo(path.c_str(), 0666) == 0; }
inline bool make_socket(const std::string& path) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  if (path.size() >= sizeof a.sun_path) return false;
  path.copy(a.sun_path, path.size());
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool made = s >= 0 && ::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  if (s >= 0) ::close(s);
  return made;
}
// A node of the device that /dev/null is (what it does when written is harmless).
inline bool make_device(const std::string& path) {
  return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
}
inline bool make_folder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

// Each thing that is not a regular file, its maker, and the error a whole-file read, a copy or a
// replacement of it raises.
struct NotARegularFile {
  const char* what;
  bool (*make)(const std::string& path);
  int code;
};
inline constexpr NotARegularFile kNotRegularFiles[] = {
    {"pipe", make_pipe, errcode::kNotRegularFile},
    {"socket", make_socket, errcode::kNotRegularFile},
    {"device", make_device, errcode::kNotRegularFile},
    {"folder", make_folder, errcode::host(EISDIR)},
};

// The kind of what stands at `path` (links not followed): S_IFREG, S_IFIFO, …; 0 for nothing.
inline mode_t node_kind(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Runs in another current directory and comes back.
class InDirectory {
 public:
  explicit InDirectory(const std::string& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InDirectory() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

// Sets an environment variable for a scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) ::setenv(name_, old_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

// While it lives, the calling thread is refused what file permissions refuse, as any user is:
// a superuser's overriding of them is switched off (and back on at the end).
class FilePermissionsHold {
 public:
  FilePermissionsHold() {
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct plain[2] = {saved_[0], saved_[1]};
    for (const unsigned cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) plain[0].effective &= ~(1u << cap);
    changed_ = ::syscall(SYS_capset, &header_, plain) == 0;
  }
  ~FilePermissionsHold() {
    if (changed_) ::syscall(SYS_capset, &header_, saved_);
  }
  // Whether permissions now hold: for a plain user always, for a superuser once switched.
  bool holds() const { return changed_ || ::geteuid() != 0; }
  FilePermissionsHold(const FilePermissionsHold&) = delete;
  FilePermissionsHold& operator=(const FilePermissionsHold&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool changed_ = false;
};

}  // namespace test_support
