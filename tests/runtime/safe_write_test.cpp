// Replacing a file crash-safely: temporaries a killed save left behind, a file the user made
// read-only, a folder where no new file can be made, the longest name the host takes, and a nearly
// full disk.
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
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
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "new"); }), errcode::host(EACCES));
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
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(file, "new"); }), errcode::host(EACCES));
  EXPECT_EQ(error_code_of([&] { RUN_ReplaceFile(dir.file("new.pbs"), "new"); }), errcode::host(EACCES));
  fs::permissions(dir.path(), fs::perms::owner_all);
  EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"data.pbs", "writable.pbs"}));
  EXPECT_EQ(fs::status(writable).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

// A pipe, a socket, a device node or a folder under the name of a save, or a link to one: the
// save is refused and the node stays as it was, with nothing left beside it. A copy from one is
// refused without waiting.
TEST(SafeWrite, WhatIsNotARegularFileIsLeftAsItIs) {
  for (const test_support::NotARegularFile& c : test_support::kNotRegularFiles) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string node = dir.file(std::string(c.what) + ".csv");
    if (!c.make(node)) continue;  // not possible here (a device node needs the right to make one)
    const mode_t kind = test_support::node_kind(node);
    const std::string link = dir.file("link.csv");
    fs::create_symlink(node, link);
    const std::set<std::string> before = entries(dir.path());
    for (const std::string& name : {node, link}) {
      EXPECT_EQ(test_support::error_code_within(5, [&] { RUN_ReplaceFile(name, "table"); }), c.code) << name;
      EXPECT_EQ(test_support::node_kind(node), kind);
      EXPECT_EQ(test_support::node_kind(link), static_cast<mode_t>(S_IFLNK));
      EXPECT_EQ(entries(dir.path()), before);
    }
    EXPECT_EQ(test_support::error_code_within(5, [&] { RUN_CopyToNewFile(node, dir.file("copy")); }), c.code);
    EXPECT_EQ(entries(dir.path()), before);
  }
}

constexpr int kCannot = 77;

// Runs `setup` and then `body` in a child process and gives the child's exit status: 0 when
// `body` saw what it should, a host error number when a save raised it, 1 for other faults,
// kCannot when `setup` is not possible here.
int in_child(const std::function<bool()>& setup, const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (!setup()) ::_exit(kCannot);
    try {
      ::_exit(body() ? 0 : 1);
    } catch (const RunError& e) {
      ::_exit(e.code() > errcode::kHostBase && e.code() < errcode::host(70) ? errcode::host_number(e.code()) : 1);
    }
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 1;
  return WEXITSTATUS(status);
}

// Mounts a file system of `type` on `where`, seen by this process alone.
bool mount_own(const char* type, const std::string& where, const char* options) {
  return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount(type, where.c_str(), type, 0, options) == 0;
}

// Makes the host refuse unnamed files, as one that does not offer them does.
bool refuse_unnamed_files() {
  sock_filter code[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
      BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, __O_TMPFILE & ~O_DIRECTORY, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog prog{static_cast<unsigned short>(sizeof code / sizeof code[0]), code};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) == 0;
}

// Saves twice; only the file is left, with the second contents.
bool saves_leaving_only_the_file(const TempDir& dir) {
  const std::string file = dir.file("data.pbs");
  RUN_ReplaceFile(file, "first");
  RUN_ReplaceFile(file, "second");
  return read_bytes(file) == "second" && entries(dir.path()).size() == 1;
}

// A disk filled up by what interrupted saves left: the next save removes it and succeeds. The
// disk is a small memory file system.
TEST(SafeWrite, ANearlyFullDiskSavesAgainOnceTheLeftoversAreGone) {
  TempDir dir;
  const int result = in_child([&] { return mount_own("tmpfs", dir.path(), "size=64k"); },
                              [&] {
                                const std::string file = dir.file("Литература1.pbs");
                                write_bytes(file, std::string(8192, 'a'));
                                const pid_t gone = gone_pid();
                                for (int n = 0; n < 100; ++n)
                                  write_bytes(dir.file(temporary_of("Литература1.pbs", gone, n)),
                                              std::string(8192, 'b'));
                                RUN_ReplaceFile(RUN_FromHostPath(file), std::string(12000, 'c'));
                                return read_bytes(file) == std::string(12000, 'c') && entries(dir.path()).size() == 1;
                              });
  if (result == kCannot) GTEST_SKIP() << "no memory file system can be mounted here";
  EXPECT_EQ(result, 0) << "the save raised host error " << result << ", or left the wrong files";
}

// Hosts that offer less: no process file system to link an unnamed file by, or no unnamed files
// at all (a named temporary is written then). The saves work and leave nothing behind.
TEST(SafeWrite, HostsWithoutUnnamedFilesOrTheirLinks) {
  TempDir dir;
  const int without_proc = in_child([] { return mount_own("tmpfs", "/proc", "size=4k"); },
                                    [&] { return saves_leaving_only_the_file(dir); });
  if (without_proc != kCannot) {
    EXPECT_EQ(without_proc, 0);
  }
  const int without_unnamed = in_child(refuse_unnamed_files, [&] { return saves_leaving_only_the_file(dir); });
  if (without_unnamed == kCannot) GTEST_SKIP() << "the host cannot be made to refuse unnamed files";
  EXPECT_EQ(without_unnamed, 0);
}

// A folder of copies is complete or absent: it is not made over one that exists, a copy that
// fails leaves nothing, and the temporary folder of a killed copy goes with the next copy.
TEST(SafeWrite, AFolderOfCopiesIsCompleteOrAbsent) {
  TempDir dir;
  write_bytes(dir.file("Литература1.pbs"), "records\r\n");
  write_bytes(dir.file("обложка.bmp"), std::string(70000, 'p'));
  const std::vector<std::string> files = {RUN_FromHostPath(dir.file("Литература1.pbs")),
                                          RUN_FromHostPath(dir.file("обложка.bmp"))};
  const std::string copy = dir.file("копия");
  const std::string leftover = temporary_of("копия", gone_pid(), 0);
  fs::create_directory(dir.file(leftover));
  write_bytes(dir.file(leftover) + "/part", "half");

  EXPECT_TRUE(RUN_CopyToNewFolder(files, RUN_FromHostPath(copy)));
  EXPECT_EQ(entries(copy), (std::set<std::string>{"Литература1.pbs", "обложка.bmp"}));
  EXPECT_EQ(read_bytes(copy + "/Литература1.pbs"), "records\r\n");
  EXPECT_EQ(read_bytes(copy + "/обложка.bmp"), std::string(70000, 'p'));
  EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"Литература1.pbs", "обложка.bmp", "копия"}));

  // The folder exists: nothing is made or changed.
  EXPECT_FALSE(RUN_CopyToNewFolder({files[0]}, RUN_FromHostPath(copy)));
  EXPECT_EQ(entries(copy).size(), 2u);

  // A file that cannot be read: the error, and no folder, complete or half.
  const std::vector<std::string> with_missing = {files[0], RUN_FromHostPath(dir.file("нет.bmp"))};
  EXPECT_EQ(error_code_of([&] { RUN_CopyToNewFolder(with_missing, RUN_FromHostPath(dir.file("другая"))); }),
            errcode::host(ENOENT));
  EXPECT_EQ(entries(dir.path()), (std::set<std::string>{"Литература1.pbs", "обложка.bmp", "копия"}));
}

// A disk too small for the copies: the error, and nothing of them is left to fill it.
TEST(SafeWrite, AFolderOfCopiesThatDoesNotFitLeavesNothing) {
  TempDir dir, disk;
  write_bytes(dir.file("big.bmp"), std::string(100000, 'b'));
  const int result = in_child([&] { return mount_own("tmpfs", disk.path(), "size=64k"); },
                              [&] {
                                try {
                                  RUN_CopyToNewFolder({dir.file("big.bmp")}, disk.file("copy"));
                                } catch (const RunError& e) {
                                  return e.code() == errcode::host(ENOSPC) && entries(disk.path()).empty();
                                }
                                return false;
                              });
  if (result == kCannot) GTEST_SKIP() << "no memory file system can be mounted here";
  EXPECT_EQ(result, 0);
}

}  // namespace
