// The process the folder lock tests start, several at a time, to contend for one folder's lock.
//
//   folder_lock_worker append <folder> <file> <id> <rounds>
//       rounds times: takes the folder's exclusive lock, then adds the line "<id> <round> begin"
//       and, after a pause, "<id> <round> end" to <file>, each time by reading the whole file and
//       writing it back (so two unlocked writers would lose lines and interleave); exit 3 when
//       the lock is not had within 60 s
//   folder_lock_worker hold <folder> exclusive|shared
//       takes the lock, prints "held" and keeps it until its standard input ends
//   folder_lock_worker try <folder> exclusive|shared <timeout-ms>
//       exit 0 when the lock is had within the timeout, 1 when not
// Any run-time error prints its code and ends with exit code 2.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "runtime/folder_lock.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: folder_lock_worker append|hold|try <folder> ...\n");
  return 2;
}

std::string read_all(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

void write_all_back(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::exit(4);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void add_line(const std::string& path, const std::string& line) { write_all_back(path, read_all(path) + line + "\n"); }

FolderLockMode mode_of(const std::string& word) {
  if (word == "shared") return FolderLockMode::shared;
  if (word == "exclusive") return FolderLockMode::exclusive;
  std::exit(usage());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  const std::string what = argv[1];
  const std::string folder = RUN_FromHostPath(argv[2]);
  try {
    if (what == "append" && argc == 6) {
      const std::string file = argv[3], id = argv[4];
      const int rounds = std::atoi(argv[5]);
      for (int round = 0; round < rounds; ++round) {
        auto lock = RUN_LockFolder(folder, FolderLockMode::exclusive, std::chrono::seconds(60));
        if (!lock) return 3;
        const std::string head = id + " " + std::to_string(round);
        add_line(file, head + " begin");
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        add_line(file, head + " end");
      }
      return 0;
    }
    if (what == "hold" && argc == 4) {
      auto lock = RUN_LockFolder(folder, mode_of(argv[3]), std::chrono::seconds(60));
      if (!lock) return 3;
      std::printf("held\n");
      std::fflush(stdout);
      char c;
      while (::read(0, &c, 1) > 0) {
      }
      return 0;
    }
    if (what == "try" && argc == 5) {
      const auto lock = RUN_LockFolder(folder, mode_of(argv[3]), std::chrono::milliseconds(std::atol(argv[4])));
      return lock ? 0 : 1;
    }
  } catch (const RunError& e) {
    std::fprintf(stderr, "folder_lock_worker: run-time error %d\n", e.code());
    return 2;
  }
  return usage();
}
