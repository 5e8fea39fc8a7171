// The lock of a catalogue folder between real processes: writers that take turns lose nothing and
// never interleave, a holder killed by SIGKILL frees the lock at once, waiting ends at the
// timeout with the callback run meanwhile, shared holders exclude only writers, and a folder that
// cannot hold the lock file fails at once with the host's error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/folder_lock.h"
#include "test_support.h"
#include "worker_process.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test_support::error_code_of;
using test_support::FilePermissionsHold;
using test_support::read_bytes;
using test_support::TempDir;

// A folder_lock_worker process.
class Worker : public test_support::WorkerProcess {
 public:
  explicit Worker(const std::vector<std::string>& args) : WorkerProcess(FOLIARKH_FOLDER_LOCK_WORKER, args) {}
};

// A worker that holds the folder's lock once it returns.
std::unique_ptr<Worker> holder(const std::string& folder, const char* mode = "exclusive") {
  auto w = std::make_unique<Worker>(std::vector<std::string>{"hold", folder, mode});
  EXPECT_EQ(w->read_line(), "held");
  return w;
}

// Whether another process gets the folder's lock in `mode` within `timeout_ms`.
bool other_process_gets(const std::string& folder, const char* mode = "exclusive", int timeout_ms = 0) {
  Worker w({"try", folder, mode, std::to_string(timeout_ms)});
  const int code = w.wait();
  EXPECT_TRUE(code == 0 || code == 1) << "worker ended with " << code;
  return code == 0;
}

long ms_since(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

class FolderLockContention : public ::testing::TestWithParam<int> {};

TEST_P(FolderLockContention, WritersTakeTurnsAndLoseNothing) {
  TempDir dir;
  const std::string shared = dir.file("shared.txt");
  const int workers = GetParam(), rounds = 40;
  std::vector<std::unique_ptr<Worker>> all;
  for (int id = 0; id < workers; ++id)
    all.push_back(std::make_unique<Worker>(
        std::vector<std::string>{"append", dir.path(), shared, std::to_string(id), std::to_string(rounds)}));
  for (auto& w : all) EXPECT_EQ(w->wait(), 0);

  // Every round of every worker is there once, as a begin directly followed by its end, and each
  // worker's rounds are in order.
  std::istringstream in(read_bytes(shared));
  std::string begin, end;
  std::map<int, int> next_round;
  int pairs = 0;
  while (std::getline(in, begin)) {
    ASSERT_TRUE(std::getline(in, end)) << "a begin without its end: " << begin;
    std::istringstream b(begin), e(end);
    int id = -1, round = -1, end_id = -2, end_round = -2;
    std::string b_word, e_word;
    b >> id >> round >> b_word;
    e >> end_id >> end_round >> e_word;
    ASSERT_EQ(b_word, "begin") << begin;
    ASSERT_EQ(e_word, "end") << "interleaved: " << begin << " / " << end;
    ASSERT_EQ(id, end_id) << "interleaved: " << begin << " / " << end;
    ASSERT_EQ(round, end_round);
    ASSERT_EQ(round, next_round[id]) << "a round of worker " << id << " lost or doubled";
    ++next_round[id];
    ++pairs;
  }
  EXPECT_EQ(pairs, workers * rounds);
}

INSTANTIATE_TEST_SUITE_P(Processes, FolderLockContention, ::testing::Values(2, 4));

TEST(FolderLock, AHolderKilledBySigkillFreesTheLockAtOnce) {
  TempDir dir;
  auto held = holder(dir.path());
  EXPECT_FALSE(RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms));
  // Two more desks wait for it.
  Worker first({"try", dir.path(), "exclusive", "10000"}), second({"try", dir.path(), "exclusive", "10000"});
  std::this_thread::sleep_for(200ms);
  ASSERT_TRUE(first.running());
  ASSERT_TRUE(second.running());

  held->kill_now();
  const auto killed = Clock::now();
  EXPECT_EQ(held->wait(), 128 + SIGKILL);
  EXPECT_EQ(first.wait(), 0);
  EXPECT_EQ(second.wait(), 0);
  EXPECT_LT(ms_since(killed), 1500);  // at once, allowing for a busy machine
  EXPECT_TRUE(RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms));
}

TEST(FolderLock, WaitingEndsAtTheTimeoutWithTheCallbackRunMeanwhile) {
  TempDir dir;
  auto held = holder(dir.path());
  std::vector<Clock::time_point> calls;
  const auto start = Clock::now();
  const auto lock =
      RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 400ms, [&] { calls.push_back(Clock::now()); });
  const long waited = ms_since(start);
  EXPECT_FALSE(lock);
  EXPECT_GE(waited, 400);
  EXPECT_LT(waited, 1400);  // the timeout, allowing for a busy machine
  // About every 50 ms: at 0, 50, …, 400 when the host keeps time, fewer when it is busy.
  EXPECT_GE(calls.size(), 3u);
  EXPECT_LE(calls.size(), 9u);
  ASSERT_FALSE(calls.empty());
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(calls.front() - start).count(), 150);
  for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i] - calls[i - 1], 50ms);

  // A timeout of 0 only tries: no wait, no callback.
  int zero_calls = 0;
  const auto at = Clock::now();
  EXPECT_FALSE(RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms, [&] { ++zero_calls; }));
  EXPECT_LT(ms_since(at), 150);
  EXPECT_EQ(zero_calls, 0);
}

TEST(FolderLock, ALockFreedWhileWaitingIsTaken) {
  TempDir dir;
  auto held = holder(dir.path());
  int calls = 0;
  Clock::time_point released{};
  const auto start = Clock::now();
  const auto lock = RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 10s, [&] {
    // The program's events run here; one of them ends the other desk's hold.
    if (++calls == 3) {
      held->close_input();
      EXPECT_EQ(held->wait(), 0);
      released = Clock::now();
    }
  });
  ASSERT_TRUE(lock);
  EXPECT_TRUE(lock->held());
  EXPECT_EQ(calls, 3);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - released).count(), 500);
  EXPECT_LT(ms_since(start), 3000);
}

TEST(FolderLock, HeldWhileTheValueLivesAndMovesReleasedWhenItGoes) {
  TempDir dir;
  auto lock = RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms);
  ASSERT_TRUE(lock);
  EXPECT_FALSE(other_process_gets(dir.path()));

  FolderLock moved = std::move(*lock);
  lock.reset();  // the moved-from value releases nothing
  EXPECT_TRUE(moved.held());
  EXPECT_FALSE(other_process_gets(dir.path()));

  moved.unlock();
  EXPECT_FALSE(moved.held());
  EXPECT_TRUE(other_process_gets(dir.path()));

  {
    const auto again = RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms);
    ASSERT_TRUE(again);
    EXPECT_FALSE(other_process_gets(dir.path()));
  }
  EXPECT_TRUE(other_process_gets(dir.path()));
}

TEST(FolderLock, SharedHoldersTogetherWritersWaitForThem) {
  TempDir dir;
  auto reader = holder(dir.path(), "shared");
  auto own = RUN_LockFolder(dir.path(), FolderLockMode::shared, 0ms);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->mode(), FolderLockMode::shared);
  EXPECT_FALSE(other_process_gets(dir.path(), "exclusive"));
  EXPECT_TRUE(other_process_gets(dir.path(), "shared"));

  reader->close_input();
  EXPECT_EQ(reader->wait(), 0);
  EXPECT_FALSE(other_process_gets(dir.path(), "exclusive"));  // this process still reads
  own.reset();
  EXPECT_TRUE(other_process_gets(dir.path(), "exclusive"));

  // A writer keeps readers out.
  auto writer = holder(dir.path(), "exclusive");
  EXPECT_FALSE(RUN_LockFolder(dir.path(), FolderLockMode::shared, 0ms));
}

TEST(FolderLock, TheLockFileIsHiddenKeptAndLockableByWhoeverMayWriteTheFolder) {
  TempDir dir;
  const std::string lock_file = dir.file(std::string(RUN_FolderLockFileName));
  ASSERT_EQ(RUN_FolderLockFileName.front(), '.');
  struct Case {
    mode_t folder, file;
  };
  for (const Case c : {Case{0777, 0666}, Case{0775, 0664}, Case{0700, 0600}}) {
    SCOPED_TRACE(c.folder);
    ::unlink(lock_file.c_str());
    ASSERT_EQ(::chmod(dir.path().c_str(), c.folder), 0);
    const mode_t old_mask = ::umask(077);
    { EXPECT_TRUE(RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms)); }
    ::umask(old_mask);
    struct stat st {};
    ASSERT_EQ(::stat(lock_file.c_str(), &st), 0) << "the lock file stays after the lock goes";
    EXPECT_EQ(st.st_mode & 0777, c.file);
    EXPECT_EQ(st.st_size, 0);
  }

  // No folder named: the current directory's.
  ::unlink(lock_file.c_str());
  test_support::InDirectory in(dir.path());
  const auto lock = RUN_LockFolder("", FolderLockMode::exclusive, 0ms);
  ASSERT_TRUE(lock);
  EXPECT_TRUE(std::filesystem::exists(lock_file));
  EXPECT_FALSE(other_process_gets(dir.path()));
}

TEST(FolderLock, AFolderThatCannotHoldTheLockFileFailsAtOnceWithTheHostError) {
  TempDir dir;
  test_support::write_bytes(dir.file("plain"), "x");
  ASSERT_EQ(::mkdir(dir.file("readonly").c_str(), 0555), 0);
  struct Case {
    std::string folder;
    int err;
    FolderLockMode mode;
  };
  const std::vector<Case> cases{
      {dir.file("gone"), ENOENT, FolderLockMode::exclusive},
      {dir.file("plain"), ENOTDIR, FolderLockMode::exclusive},
      {dir.file("readonly"), EACCES, FolderLockMode::exclusive},
      {dir.file("readonly"), EACCES, FolderLockMode::shared},  // nothing to open there either
  };
  FilePermissionsHold permissions;
  ASSERT_TRUE(permissions.holds());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    int calls = 0;
    const auto start = Clock::now();
    EXPECT_EQ(error_code_of([&] { (void)RUN_LockFolder(c.folder, c.mode, 10s, [&] { ++calls; }); }),
              errcode::host(c.err));
    EXPECT_LT(ms_since(start), 500);
    EXPECT_EQ(calls, 0);
  }
}

TEST(FolderLock, AReaderMayLockAFileItCanOnlyRead) {
  TempDir dir;
  { ASSERT_TRUE(RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms)); }
  const std::string lock_file = dir.file(std::string(RUN_FolderLockFileName));
  ASSERT_EQ(::chmod(lock_file.c_str(), 0444), 0);
  FilePermissionsHold permissions;
  ASSERT_TRUE(permissions.holds());
  EXPECT_TRUE(RUN_LockFolder(dir.path(), FolderLockMode::shared, 0ms));
  EXPECT_EQ(error_code_of([&] { (void)RUN_LockFolder(dir.path(), FolderLockMode::exclusive, 0ms); }),
            errcode::host(EACCES));
}

}  // namespace
