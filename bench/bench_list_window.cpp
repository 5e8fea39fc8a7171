// The literature list window at the scale of 100,000 records: opening it (creation, filling the
// sorted list box, the first paint) and deleting a record once the question is answered (line
// removed from the list box, record removed, catalogue saved). Both run inside the real task
// window, in a temporary working directory holding a generated catalogue.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "app/list_window.h"
#include "app/record_edit.h"
#include "app/session.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "bench_program.h"

namespace {

using namespace bench_program;

void BM_OpenListWindow(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    for (auto _ : state) {
      const Window lw = win_просмотрсписка_Create(task);
      win_Update(lw);
      QApplication::processEvents();
      state.PauseTiming();
      win_Destroy(lw);
      QApplication::processEvents();
      state.ResumeTiming();
    }
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

}  // namespace

BENCHMARK(BM_OpenListWindow)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteRecord)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
