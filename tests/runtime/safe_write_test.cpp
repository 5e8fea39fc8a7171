// Replacing a file crash-safely: temporaries a killed save left behind, a file the user made
// read-only, a folder where no new file can be made, the longest name the host takes, and a nearly
// full disk.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <set>
#include <string>

#include "codepage.h"
#include "host_path.h"
#include "safe_write.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using test_support::error_code_of;
using test_support::FilePermissionsHold;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

// The id of a process that has ended.
pid_t gone_pid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

// The name a save of `name` (host form) gives its temporary: cut, never inside a character, so
// that it stays within 255 bytes.
std::string temporary_of(const std::string& name, pid_t pid, int n) {
  const std::string suffix = ".tmp-" + std::to_string(pid) + "-" + std::to_string(n);
  std::size_t room = 255 - suffix.size();
  if (room >= name.size()) return name + suffix;
  while ((static_cast<unsigned char>(name[room]) & 0xC0) == 0x80) --room;
  return name.substr(0, room) + suffix;
}

std::set<std::string> entries(const std::string& dir) {
  std::set<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

TEST(SafeWrite, TemporariesOfGoneWritersAreRemovedBySave) {
  TempDir dir;
  const std::string name = "Литература1.pbs";
  std::string longest(121, 'x');  // 255 bytes in the host's form, Cyrillic where it is cut
  for (int i = 0; i < 67; ++i) longest += "ж";
  ASSERT_EQ(longest.size(), 255u);
  const pid_t gone = gone_pid(), live = ::getppid();
  const std::set<std::string> kept = {
      name,
      temporary_of(name, live, 0),                       // its writer may still be saving
      temporary_of("Другой.pbs", gone, 0),               // another file's
      name + ".tmp-" + std::to_string(gone) + "-x",      // not a temporary name
      name + ".tmp-" + std::to_string(gone),             // neither
      longest,
  };
  for (const auto& n : kept) write_bytes(dir.path() + "/" + n, "old");
  const std::string long_leftover = temporary_of(longest, gone, 3);
  for (const auto& n : {temporary_of(name, gone, 0), temporary_of(name, gone, 12), temporary_of(name, ::getpid(), 0),
                        long_leftover})
    write_bytes(dir.path() + "/" + n, "left over");

  RUN_ReplaceFile(RUN_FromHostPath(dir.path() + "/" + name), "new");
  std::set<std::string> after = kept;
  after.insert(long_leftover);
  EXPECT_EQ(entries(dir.path()), after);
  EXPECT_EQ(read_bytes(dir.path() + "/" + name), "new");
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(RUN_FromHostPath(dir.path() + "/" + longest), "new"); }), 0);
  EXPECT_EQ(entries(dir.path()), kept);
}

TEST(SafeWrite, TheLongestNameTheHostTakesIsSaved) {
  TempDir dir;
  const std::string file = dir.file(std::string(255, 'n'));
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "first"); }), 0);
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "second"); }), 0);
  EXPECT_EQ(read_bytes(file), "second");
  EXPECT_EQ(entries(dir.path()).size(), 1u);
}

TEST(SafeWrite, PermissionsOfFileAndFolderAreRespected) {
  TempDir dir;
  FilePermissionsHold hold;
  if (!hold.holds()) GTEST_SKIP() << "file permissions cannot be made to hold for this user";
  const std::string file = dir.file("data.pbs");
  write_bytes(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  // A read-only file in a writable folder: refused as opening it for writing is, and untouched.
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "new"); }), 7000 + EACCES);
  EXPECT_EQ(read_bytes(file), "old");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(entries(dir.path()).size(), 1u);

  // A folder where no new file can be made: a writable file is written in place, keeping its
  // permissions; a read-only one and a new one are refused.
  const std::string writable = dir.file("writable.pbs");
  write_bytes(writable, "old contents, longer than the new");
  fs::permissions(writable, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(writable, "new"); }), 0);
  EXPECT_EQ(read_bytes(writable), "new");
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(writable, std::string(100000, 'z')); }), 0);
  EXPECT_EQ(read_bytes(writable), std::string(100000, 'z'));
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "new"); }), 7000 + EACCES);
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(dir.file("new.pbs"), "new"); }), 7000 + EACCES);
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"data.pbs", "writable.pbs"}));
  EXPECT_EQ(fs::status(writable).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

// A disk filled up by what interrupted saves left: the next save removes it and succeeds. The
// disk is a small memory file system mounted in a process of its own; where the host allows no
// such mount the case is skipped.
TEST(SafeWrite, ANearlyFullDiskSavesAgainOnceTheLeftoversAreGone) {
  TempDir dir;
  constexpr int kNoMount = 77;
  const pid_t child = ::fork();
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") != 0)
      ::_exit(kNoMount);
    const std::string file = dir.file("Литература1.pbs");
    write_bytes(file, std::string(8192, 'a'));
    const pid_t gone = gone_pid();
    for (int n = 0; n < 100; ++n) write_bytes(dir.file(temporary_of("Литература1.pbs", gone, n)), std::string(8192, 'b'));
    const int code = error_code_of([&] { RUN_ReplaceFile(RUN_FromHostPath(file), std::string(12000, 'c')); });
    if (code != 0) ::_exit(code > 7000 && code < 7070 ? code - 7000 : 1);
    ::_exit(read_bytes(file) == std::string(12000, 'c') && entries(dir.path()).size() == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNoMount) GTEST_SKIP() << "no memory file system can be mounted here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save raised host error " << WEXITSTATUS(status) << ", or left the wrong files";
}

}  // namespace
