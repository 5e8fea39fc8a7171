// Several desks on one catalogue folder of 100,000 records, through the core's own path: what a
// change does before its operation when no other desk stored anything (the folder's lock taken,
// the files' identities compared, the lock released), and when another desk stored one record
// more (the catalogue read again and the records it gained found, as the subscribers hear them).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/core_part.h"
#include "core/other_desks.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "runtime/run.h"
#include "runtime/safe_write.h"

namespace {

namespace fs = std::filesystem;

// A catalogue folder of `records` records made current and opened as the program opens it; the
// previous current folder back and the folder removed at the end.
class DeskFolder {
 public:
  explicit DeskFolder(std::size_t records) : old_(fs::current_path()) {
    folder_ = fs::temp_directory_path() / ("foliarkh-bench-desks-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    fs::current_path(folder_);
    core_RegisterPart();
    RUN_ResetParts();
    std::string lines;
    for (std::size_t i = 1; i <= records; ++i) lines += line(i);
    RUN_ReplaceFile(файл_базы, lines);
    RUN_ReplaceFile(файл_категорий, "категории_лит(\"Проза\")\r\nкатегории_лит(\"Поэзия\")\r\n"_cps);
    RUN_ReplaceFile(файл_видов, "виды_лит(\"Книга\")\r\n"_cps);
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    text_ = lines;
  }
  ~DeskFolder() {
    RUN_ResetParts();
    fs::current_path(old_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  // A catalogue line of the record with the code.
  static std::string line(std::size_t code) {
    return "база_лит("_cps + std::to_string(code) + ",\"Толстой Л. Н.\",\"Война и мир, том "_cps +
           std::to_string(code) + "\",\"Проза\",\"Книга\",1,1,\"\")\r\n"_cps;
  }
  // The catalogue file as another desk stores it with one more record first, or back as it was.
  void another_desk_stores(bool one_more) {
    RUN_ReplaceFile(файл_базы, one_more ? line(999999) + text_ : text_);
  }

 private:
  fs::path old_, folder_;
  std::string text_;
};

void BM_CheckBeforeAChangeUnchanged(benchmark::State& state) {
  const DeskFolder folder(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    const auto hold = хранилище_каталога().занять(true, std::chrono::seconds(10), {});
    if (!hold || !разделы_изменённые_другими().empty()) state.SkipWithError("the folder changed");
  }
}
BENCHMARK(BM_CheckBeforeAChangeUnchanged)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadAgainAfterAnotherDesk(benchmark::State& state) {
  DeskFolder folder(static_cast<std::size_t>(state.range(0)));
  bool one_more = false;
  for (auto _ : state) {
    state.PauseTiming();
    one_more = !one_more;
    folder.another_desk_stores(one_more);
    state.ResumeTiming();
    const auto hold = хранилище_каталога().занять(true, std::chrono::seconds(10), {});
    const Перечитанное п = перечитать_разделы(разделы_изменённые_другими());
    if (п.изменения.добавленные.size() + п.изменения.убранные.size() != 1) state.SkipWithError("not one record");
  }
}
BENCHMARK(BM_ReadAgainAfterAnotherDesk)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
