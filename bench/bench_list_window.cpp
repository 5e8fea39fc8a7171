// The literature list window at the scale of 100,000 records: opening it (creation, filling the
// sorted list box, the first paint) and deleting a record once the question is answered (line
// removed from the list box, record removed, catalogue saved), and undoing 100 deletions in a row
// with the window open (record back at its place, catalogue saved, line back in the list). They
// run inside the real task window, in a temporary working directory holding a generated catalogue.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "app/list_filter.h"
#include "app/list_selection.h"
#include "app/list_window.h"
#include "app/record_edit.h"
#include "app/undo_commands.h"
#include "bench_program.h"

namespace {

using bench_program::in_program;
using bench_program::open_list_windows;

void BM_OpenListWindow(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    open_list_windows(state, task, {}, [&state](Window) { state.counters["rss_mb"] = bench_program::rss_mb(); });
  });
}

void BM_DeleteRecord(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const Window lw = win_просмотрсписка_Create(task);
    const Window lb = win_GetCtlHandle(lw, ид_списка);
    int i = 0;
    for (auto _ : state) {
      state.PauseTiming();
      const int pos = (i++ * 7919) % lbox_CountAll(lb);
      const std::string line = lbox_GetItem(lb, pos);
      const ЗаписьБазы record = база_лит.по_коду(*код_строки(line)).front();
      lbox_SetSel(lb, pos, 1);
      state.ResumeTiming();
      запомнить_выделение(lw);
      обработатьответнаудаление(0, lw);
      state.PauseTiming();
      база_лит.assertz(record);  // the same size again for the next round
      lbox_Add(lb, -1, line);
      state.ResumeTiming();
    }
    win_Destroy(lw);
  });
}

// One iteration: 100 undos in a row, each of a deletion made (untimed) before them. The counters
// give the mean and the longest single undo in milliseconds.
void BM_Undo100(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const Window lw = win_просмотрсписка_Create(task);
    const Window lb = win_GetCtlHandle(lw, ид_списка);
    double longest = 0, total = 0;
    int undos = 0;
    for (auto _ : state) {
      state.PauseTiming();
      for (int i = 0; i < 100; ++i) {
        const int pos = (i * 7919) % lbox_CountAll(lb);
        const std::string line = lbox_GetItem(lb, pos);
        удалить_строку_списка(lb, pos);  // as the delete command does
        удалитизосновнойбазыпосписку({line}, lw);
      }
      state.ResumeTiming();
      for (int i = 0; i < 100; ++i) {
        const auto start = std::chrono::steady_clock::now();
        отменить_изменение();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        longest = std::max(longest, ms);
        total += ms;
        ++undos;
      }
      if (база_лит.count() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("an undo did not act");
    }
    state.counters["undo_mean_ms"] = total / std::max(undos, 1);
    state.counters["undo_max_ms"] = longest;
    win_Destroy(lw);
  });
}

}  // namespace

BENCHMARK(BM_OpenListWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteRecord)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Undo100)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
