// The list window's table view at the scale of 100,000 records with their details, in the real task window: opening
// the table (a list window that opens in the table view, and the switch from the lines), a sort by
// a column from a header click, a keystroke in the find field with the table open and sorted, and
// the process's memory with the table open (resident set, as the counter rss_mb).
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "app/list_table.h"
#include "app/list_window.h"
#include "app/user_settings.h"
#include "bench_program.h"
#include "core/list_table.h"

namespace {

using namespace bench_program;

// The table is measured on books that have their publication details, as a library's catalogue has.
constexpr bool kWithDetails = true;

int column(const char* caption) {
  const auto поля = поля_таблицы();
  for (std::size_t i = 0; i < поля.size(); ++i)
    if (std::string(поля[i]->название) == cp1251::from_utf8(caption)) return static_cast<int>(i);
  return 0;
}

// Remembers the table view, sorted by the author, for the next list window.
void remember_table() { записать_настройки(файл_настроек_списка, {"view=table", "pane=1", "sort=" + cp1251::from_utf8("Автор") + "\t1"}); }

// One iteration: a list window that opens in the table view, sorted by the author, painted.
void BM_OpenTableView(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    open_list_windows(state, task, remember_table, [&state](Window) { state.counters["rss_mb"] = rss_mb(); });
  }, kWithDetails);
}

// One iteration: "Вид" / "Таблица" in a list window just opened with its lines (the table's
// records taken and sorted by the author for the first time), painted.
void BM_SwitchToTable(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    for (auto _ : state) {
      state.PauseTiming();
      записать_настройки(файл_настроек_списка, {"view=lines", "sort=" + cp1251::from_utf8("Автор") + "\t1"});
      const Window lw = win_просмотрсписка_Create(task);
      QApplication::processEvents();
      state.ResumeTiming();
      показать_таблицу(lw, true);
      win_Update(lw);
      QApplication::processEvents();
      state.PauseTiming();
      state.counters["rss_mb"] = rss_mb();
      close_window(lw);
      state.ResumeTiming();
    }
  }, kWithDetails);
}

// One iteration: a header click sorts the whole table by a column (author, title, code, author
// again: ascending and descending by turns), painted.
void BM_SortTableByColumn(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    remember_table();
    const Window lw = win_просмотрсписка_Create(task);
    QApplication::processEvents();
    const std::array<int, 4> columns = {column("Наименование"), column("Наименование"), column("Автор"), column("Код")};
    std::size_t i = 0;
    for (auto _ : state) {
      сортировать_таблицу(lw, columns[i++ % columns.size()]);
      win_Update(lw);
      QApplication::processEvents();
    }
    state.counters["rss_mb"] = rss_mb();
    close_window(lw);
  }, kWithDetails);
}

// One iteration is one keystroke in the find field with the table open and sorted by the author:
// typing a title word by word, then the field emptied.
void BM_FindKeystrokeInTable(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    remember_table();
    const Window lw = win_просмотрсписка_Create(task);
    type_in_find_field(state, lw);
    close_window(lw);
  }, kWithDetails);
}

}  // namespace

BENCHMARK(BM_OpenTableView)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SwitchToTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortTableByColumn)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_FindKeystrokeInTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(16)->Repetitions(3)
    ->ReportAggregatesOnly(true);
