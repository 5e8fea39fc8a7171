// What a desk does before each save of a catalogue folder that other desks share, when nothing
// changed: take the folder's lock, take the identities of its files, compare them with those it
// last read, release the lock. The files have the sizes of a catalogue of 1,000 and 100,000
// records; the check only asks the host about them, so their size should not matter.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/file_identity.h"
#include "runtime/folder_lock.h"
#include "runtime/host_path.h"

namespace {

namespace fs = std::filesystem;

// A catalogue folder of six files (the catalogue, categories, kinds and three sections more), the
// catalogue file about 150 bytes a record; removed at the end.
class CatalogueFolder {
 public:
  explicit CatalogueFolder(std::size_t records) {
    folder_ = (fs::temp_directory_path() / ("foliarkh-bench-folder-" + std::to_string(::getpid()))).string();
    fs::create_directories(folder_);
    const std::vector<std::pair<std::string, std::size_t>> files{
        {"Литература1.pbs", records * 150}, {"КатегЛитер.pbs", 400}, {"ВидЛитер.pbs", 200},
        {"Раздел4.pbs", 100},               {"Раздел5.pbs", 20000},  {"Раздел6.pbs", 8000}};
    for (const auto& [name, size] : files) {
      const std::string path = folder_ + "/" + name;
      std::ofstream(path, std::ios::binary) << std::string(size, 'x');
      names_.push_back(RUN_FromHostPath(path));
    }
  }
  ~CatalogueFolder() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::string folder() const { return RUN_FromHostPath(folder_); }
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::string folder_;
  std::vector<std::string> names_;
};

void BM_IdentifyCatalogueFiles(benchmark::State& state) {
  const CatalogueFolder c(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(RUN_IdentifyFiles(c.names()));
}
BENCHMARK(BM_IdentifyCatalogueFiles)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_LockAndReleaseFolder(benchmark::State& state) {
  const CatalogueFolder c(1000);
  const std::string folder = c.folder();
  for (auto _ : state) {
    auto lock = RUN_LockFolder(folder, FolderLockMode::exclusive, std::chrono::seconds(10));
    if (!lock) state.SkipWithError("the lock was not had");
  }
}
BENCHMARK(BM_LockAndReleaseFolder)->Unit(benchmark::kMicrosecond);

// The whole check before a save when no other desk wrote.
void BM_CheckBeforeSaveUnchanged(benchmark::State& state) {
  const CatalogueFolder c(static_cast<std::size_t>(state.range(0)));
  const std::string folder = c.folder();
  const std::vector<FileIdentity> last_read = RUN_IdentifyFiles(c.names());
  for (auto _ : state) {
    auto lock = RUN_LockFolder(folder, FolderLockMode::exclusive, std::chrono::seconds(10));
    if (!lock || RUN_IdentifyFiles(c.names()) != last_read) state.SkipWithError("the folder changed");
  }
}
BENCHMARK(BM_CheckBeforeSaveUnchanged)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
