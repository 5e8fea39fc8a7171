// Helpers of the runtime tests: a temporary directory that removes itself, whole-file reading and
// writing in bytes, catching a run-time error's code, and file permissions that hold for root too.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
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
