// File identities: every way a file changes (a write in place, a replacement by rename, a touch,
// deleting, creating) changes the identity; looking and reading do not; missing files and files
// that may not be opened still have one; the list call answers as the single one, in order.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/file_identity.h"
#include "runtime/host_path.h"
#include "runtime/safe_write.h"
#include "test_support.h"

void PrintTo(const FileIdentity& id, std::ostream* os) {
  *os << (id.exists ? "" : "missing ") << id.device << ":" << id.inode << " size " << id.size << " at "
      << id.modified_seconds << "." << id.modified_nanoseconds;
}

namespace {

using namespace std::chrono_literals;
using test_support::error_code_of;
using test_support::FilePermissionsHold;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

// Longer than one tick of the file system's clock, so that a change after it gets a new time.
void past_a_clock_tick() { std::this_thread::sleep_for(20ms); }

struct Change {
  const char* what;
  std::function<void(const std::string& path)> make;
};

void PrintTo(const Change& c, std::ostream* os) { *os << c.what; }

class IdentityChanges : public ::testing::TestWithParam<Change> {};

TEST_P(IdentityChanges, ChangeTheIdentity) {
  TempDir dir;
  const std::string path = dir.file("Литература1.pbs");
  write_bytes(path, "база_лит(1,\"Автор\")\r\n");
  const FileIdentity before = RUN_IdentifyFile(RUN_FromHostPath(path));
  ASSERT_TRUE(before.exists);
  past_a_clock_tick();
  GetParam().make(path);
  const FileIdentity after = RUN_IdentifyFile(RUN_FromHostPath(path));
  EXPECT_NE(before, after);
  EXPECT_EQ(after, RUN_IdentifyFile(RUN_FromHostPath(path))) << "and stays as it is then";
}

INSTANTIATE_TEST_SUITE_P(
    Files, IdentityChanges,
    ::testing::Values(
        Change{"written longer", [](const std::string& p) { write_bytes(p, read_bytes(p) + "x"); }},
        Change{"written with the same size", [](const std::string& p) {
                 std::string bytes = read_bytes(p);
                 bytes[0] = 'X';
                 write_bytes(p, bytes);
               }},
        Change{"replaced by rename with the same bytes",
               [](const std::string& p) { RUN_ReplaceFile(RUN_FromHostPath(p), read_bytes(p)); }},
        Change{"replaced by a copy that keeps size and times",
               [](const std::string& p) {
                 // What a copy keeping times does (a restore, a synchronising tool): only the
                 // inode tells.
                 struct stat st {};
                 ASSERT_EQ(::stat(p.c_str(), &st), 0);
                 write_bytes(p + ".new", read_bytes(p));
                 const timespec times[2] = {st.st_atim, st.st_mtim};
                 ASSERT_EQ(::utimensat(AT_FDCWD, (p + ".new").c_str(), times, 0), 0);
                 ASSERT_EQ(::rename((p + ".new").c_str(), p.c_str()), 0);
               }},
        Change{"touched", [](const std::string& p) { ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), nullptr, 0), 0); }},
        Change{"deleted", [](const std::string& p) { ASSERT_EQ(::unlink(p.c_str()), 0); }},
        Change{"deleted and made again alike", [](const std::string& p) {
                 const std::string bytes = read_bytes(p);
                 ASSERT_EQ(::unlink(p.c_str()), 0);
                 write_bytes(p + ".other", "keeps the old inode busy");
                 write_bytes(p, bytes);
               }}),
    [](const ::testing::TestParamInfo<Change>& info) {
      std::string name;
      for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(FileIdentity, StaysEqualWhenTheFileIsOnlyLookedAtAndRead) {
  TempDir dir;
  const std::string path = dir.file("КатегЛитер.pbs");
  write_bytes(path, "категория(\"Проза\")\r\n");
  const std::string name = RUN_FromHostPath(path);
  const FileIdentity first = RUN_IdentifyFile(name);
  past_a_clock_tick();
  EXPECT_FALSE(read_bytes(path).empty());
  EXPECT_EQ(::chmod(path.c_str(), 0644), 0);  // a change of permissions is no change of contents
  EXPECT_EQ(RUN_IdentifyFile(name), first);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(first.size, st.st_size);
  EXPECT_EQ(first.inode, st.st_ino);
  EXPECT_EQ(first.device, st.st_dev);
  EXPECT_EQ(first.modified_seconds, st.st_mtim.tv_sec);
  EXPECT_EQ(first.modified_nanoseconds, st.st_mtim.tv_nsec);
}

TEST(FileIdentity, MissingFilesAndFilesThatMayNotBeOpened) {
  TempDir dir;
  write_bytes(dir.file("plain"), "x");
  write_bytes(dir.file("closed"), "12345");
  ASSERT_EQ(::chmod(dir.file("closed").c_str(), 0), 0);
  ASSERT_EQ(::symlink("loop", dir.file("loop").c_str()), 0);

  EXPECT_EQ(RUN_IdentifyFile(dir.file("none")), FileIdentity{});
  EXPECT_EQ(RUN_IdentifyFile(dir.file("gone/none")), FileIdentity{});
  EXPECT_EQ(RUN_IdentifyFile(dir.file("plain/none")), FileIdentity{});  // a file where a folder should be
  EXPECT_EQ(RUN_IdentifyFile(std::string("a\0b", 3)), FileIdentity{});
  {
    FilePermissionsHold permissions;
    ASSERT_TRUE(permissions.holds());
    const FileIdentity closed = RUN_IdentifyFile(dir.file("closed"));
    EXPECT_TRUE(closed.exists);
    EXPECT_EQ(closed.size, 5);
  }
  // Anything else the host refuses is its error.
  EXPECT_EQ(error_code_of([&] { (void)RUN_IdentifyFile(dir.file("loop")); }), errcode::host(ELOOP));
}

TEST(FileIdentity, TheListAnswersAsTheSingleCallsInOrder) {
  TempDir dir;
  const std::vector<std::string> names{dir.file("ВидЛитер.pbs"), dir.file("нет.pbs"), dir.file("КатегЛитер.pbs"),
                                       dir.file("Литература1.pbs")};
  write_bytes(names[0], "1");
  write_bytes(names[2], "22");
  write_bytes(names[3], "333");
  std::vector<std::string> cp;
  for (const std::string& n : names) cp.push_back(RUN_FromHostPath(n));
  const std::vector<FileIdentity> ids = RUN_IdentifyFiles(cp);
  ASSERT_EQ(ids.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(ids[i], RUN_IdentifyFile(cp[i])) << names[i];
  EXPECT_EQ(ids[0].size, 1);
  EXPECT_FALSE(ids[1].exists);
  EXPECT_EQ(ids[3].size, 3);
  EXPECT_NE(ids[0].inode, ids[2].inode);
  EXPECT_TRUE(RUN_IdentifyFiles({}).empty());
}

}  // namespace
