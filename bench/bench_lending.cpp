// Lending at 100,000 books, 10,000 readers and 200,000 loans (one in ten still out, a third of
// those overdue), through the core's own path in a folder of its own: the overdue list, an issue
// and a return each with its save (the loans' file written whole, under the folder's lock), and
// the catalogue's opening with the lending files, what the issue dialog's fields find at a
// keystroke; and the whole program started on such a folder, with the memory the process then
// holds, its statistics, readers and overdue windows opened.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_program.h"

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/catalogue_statistics.h"
#include "core/change_path.h"
#include "core/core_part.h"
#include "core/lending.h"
#include "core/record_codes.h"
#include "runtime/codepage.h"
#include "runtime/run.h"
#include "runtime/safe_write.h"

namespace {

namespace fs = std::filesystem;

constexpr int kКниг = 100000, kЧитателей = 10000, kВыдач = 200000;
const День kСегодня = *дата_из_текста("2026-12-09");

std::string текст_читателей() {
  std::string читатели;
  for (int i = 1; i <= kЧитателей; ++i)
    читатели += "читатель_лит("_cps + std::to_string(i) + ",\"Иванов Иван "_cps + std::to_string(i) +
                "\",\"10А\",\"+7 900 000-00-00\",\"\")\r\n"_cps;
  return читатели;
}

std::string текст_выдач() {
  std::string выдачи;
  for (int i = 0; i < kВыдач; ++i) {
    const День выдана = kСегодня - std::chrono::days(400 - i % 400);
    const bool на_руках = i % 10 == 0;
    выдачи += "выдача_лит("_cps + std::to_string(i % kКниг + 1) + "," + std::to_string(i % kЧитателей + 1) + ",\"" +
              текст_даты(выдана) + "\",\"" + текст_даты(выдана + std::chrono::days(на_руках ? 14 + i % 1200 : 14)) +
              "\",\"" + (на_руках ? std::string() : текст_даты(выдана + std::chrono::days(10))) + "\")\r\n";
  }
  return выдачи;
}

// The lending folder made current with its files written; the previous folder back at the end.
class LendingFolder {
 public:
  LendingFolder() : old_(fs::current_path()) {
    folder_ = fs::temp_directory_path() / ("foliarkh-bench-lending-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    fs::current_path(folder_);
    core_RegisterPart();
    RUN_ResetParts();
    std::string книги;
    for (int i = 1; i <= kКниг; ++i)
      книги += "база_лит("_cps + std::to_string(i) + ",\"Толстой Л. Н.\",\"Война и мир, том "_cps + std::to_string(i) +
               "\",\"Проза\",\"Книга\",1,1,\"\")\r\n"_cps;
    RUN_ReplaceFile(файл_базы, книги);
    RUN_ReplaceFile(файл_читателей, текст_читателей());
    RUN_ReplaceFile(файл_выдач, текст_выдач());
    RUN_ReplaceFile(файл_категорий, "категории_лит(\"Проза\")\r\n"_cps);
    RUN_ReplaceFile(файл_видов, "виды_лит(\"Книга\")\r\n"_cps);
    открыть();
  }
  ~LendingFolder() {
    RUN_ResetParts();
    fs::current_path(old_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  // The catalogue opened as the program opens it: every section, the codes, the loans' problems.
  static void открыть() {
    очистить_каталог();
    забыть_состояние_файлов();
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    получитьсписоккодов();
    benchmark::DoNotOptimize(сообщение_о_выдачах());
    benchmark::DoNotOptimize(число_просроченных(kСегодня));
  }

 private:
  fs::path old_, folder_;
};

void BM_OverdueList(benchmark::State& state) {
  LendingFolder folder;
  std::size_t n = 0;
  for (auto _ : state) n = должники(kСегодня).size();
  state.counters["overdue"] = static_cast<double>(n);
}
BENCHMARK(BM_OverdueList)->Unit(benchmark::kMillisecond);

// An issue of a book on the shelf and its return, each applied and saved through the change path.
void BM_IssueAndReturnWithSave(benchmark::State& state) {
  LendingFolder folder;
  // Book 2 was last lent to a reader who brought it back: it is on the shelf.
  const Выдача в{2, 7, "2026-12-09", "2026-12-23", ""};
  for (auto _ : state) {
    if (!применить(ВыдатьКнигу{в}).сделано()) state.SkipWithError("issue refused");
    if (!применить(ПринятьКнигу{в, "2026-12-10"}).сделано()) state.SkipWithError("return refused");
  }
  state.counters["changes"] = benchmark::Counter(2.0 * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_IssueAndReturnWithSave)->Unit(benchmark::kMillisecond);

// What the statistics window shows, counted from the tables.
void BM_Statistics(benchmark::State& state) {
  LendingFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(статистика_каталога(kСегодня));
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

// What the issue dialog's fields do at each keystroke: the books a text names (a code as a scanner
// types it, and words of a title, which every book holds), the readers a text names, and the
// readers window's books out per reader.
void BM_IssueDialogBookField(benchmark::State& state) {
  LendingFolder folder;
  const std::string текст = state.range(0) == 0 ? std::string("54321") : state.range(0) == 1 ? "война том 5432"_cps : "война"_cps;
  std::size_t n = 0;
  for (auto _ : state) n = книги_по_запросу(текст, 500).size();  // as many as the issue dialog lists
  state.counters["found"] = static_cast<double>(n);
}
BENCHMARK(BM_IssueDialogBookField)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReadersFound(benchmark::State& state) {
  LendingFolder folder;
  std::size_t n = 0;
  for (auto _ : state) {
    n = читатели_по_запросу("иванов 10а"_cps).size();
    benchmark::DoNotOptimize(книг_на_руках_у_читателей());
  }
  state.counters["found"] = static_cast<double>(n);
}
BENCHMARK(BM_ReadersFound)->Unit(benchmark::kMillisecond);

void BM_OpeningWithLendingFiles(benchmark::State& state) {
  LendingFolder folder;
  for (auto _ : state) LendingFolder::открыть();
}
BENCHMARK(BM_OpeningWithLendingFiles)->Unit(benchmark::kMillisecond);

// The resident memory of the process now, in MB.
double память_мб() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// A folder of 100,000 books with the lending files, current while it lives, for the program to
// start on.
struct ПапкаПрограммы {
  ПапкаПрограммы() : каталог((bench_program::ensure_application(), kКниг)) {
    RUN_ReplaceFile(файл_читателей, текст_читателей());
    RUN_ReplaceFile(файл_выдач, текст_выдач());
  }
  bench_program::Catalogue каталог;
};

// The program started on 100,000 books with the lending files, to its task window's first turn
// of the loop (the files loaded, the loans checked, the overdue counted in the help line).
void BM_ProgramStartWithLending(benchmark::State& state) {
  double мб = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const ПапкаПрограммы каталог;
    state.ResumeTiming();
    const auto начало = std::chrono::steady_clock::now();
    double секунд = 0;
    bench_program::in_program_here([&](Window) {
      секунд = std::chrono::duration<double>(std::chrono::steady_clock::now() - начало).count();
      мб = память_мб();
    });
    state.SetIterationTime(секунд);
  }
  state.counters["rss_MB"] = мб;
}
BENCHMARK(BM_ProgramStartWithLending)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Each iteration runs the program on a fresh such folder; `measure(task, начало)` gives the seconds
// from `начало` (the moment it sends its command) to the window drawn, 0 when none showed.
template <class Measure>
void время_до_окна(benchmark::State& state, Measure measure) {
  for (auto _ : state) {
    state.PauseTiming();
    const ПапкаПрограммы каталог;
    state.ResumeTiming();
    double секунд = 0;
    bench_program::in_program_here([&](Window task) { секунд = measure(task, std::chrono::steady_clock::now()); });
    if (секунд == 0) state.SkipWithError("no window");
    state.SetIterationTime(секунд);
  }
}

double секунд_с(std::chrono::steady_clock::time_point начало) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - начало).count();
}

// "Статистика…" on such a folder: from the command to its window shown with every chart drawn
// (the window is closed at once).
void BM_StatisticsWindow(benchmark::State& state) {
  время_до_окна(state, [](Window task, auto начало) {
    double секунд = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* m = QApplication::activeModalWidget();
      if (!m || !m->isVisible()) return;
      m->repaint();
      секунд = секунд_с(начало);
      poll.stop();
      QMetaObject::invokeMethod(m, "accept", Qt::QueuedConnection);
    });
    poll.start(0);
    win_SendEvent(task, e_menu{cmd_Статистика, 0});
    return секунд;
  });
}
BENCHMARK(BM_StatisticsWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// "Читатели…" and "Должники" on such a folder: from the command to its window drawn (10,000 readers
// with their books out counted; 3,340 overdue loans with their readers and books).
void BM_LendingWindow(benchmark::State& state) {
  const int команда = state.range(0) == 0 ? cmd_Читатели : cmd_Должники;
  const QString заголовок = QString::fromUtf8(state.range(0) == 0 ? "Читатели" : "Должники");
  время_до_окна(state, [&](Window task, auto начало) {
    double секунд = 0;
    win_SendEvent(task, e_menu{команда, 0});
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == заголовок) {
        w->repaint();
        секунд = секунд_с(начало);
        w->close();
      }
    return секунд;
  });
}
BENCHMARK(BM_LendingWindow)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
