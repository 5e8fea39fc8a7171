// Finding, exporting and importing at the scale of 100,000 records, inside the real task window:
// a keystroke in the list window's find field (the filter applied and the list refilled and
// painted), the whole catalogue written as a CSV table and as an HTML page, and a table of
// 100,000 rows read, checked for duplicates and added to an empty catalogue through the change
// path (saved once, one step of the history).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <array>
#include <string>
#include <variant>

#include "app/catalogue_export.h"
#include "app/catalogue_import.h"
#include "app/list_window.h"
#include "core/undo_history.h"
#include "layer/layer.h"
#include "resources/ids.h"
#include "runtime/safe_write.h"
#include "bench_program.h"

namespace {

using namespace bench_program;

// One iteration is one keystroke: typing a title word by word, then the field emptied (which
// shows the whole list again).
void BM_FilterList(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const Window lw = win_просмотрсписка_Create(task);
    type_in_find_field(state, lw);
    win_Destroy(lw);
  });
}

void export_to(benchmark::State& state, const char* name) {
  QTemporaryDir out;
  const std::string file = cp1251::from_utf8(out.filePath(QString::fromUtf8(name)).toStdString());
  in_program(static_cast<int>(state.range(0)), [&](Window) {
    for (auto _ : state) RUN_ReplaceFile(file, текст_экспорта(каталог_для_экспорта(), file));
  });
}
void BM_ExportCsv(benchmark::State& state) { export_to(state, "каталог.csv"); }
void BM_ExportHtml(benchmark::State& state) { export_to(state, "каталог.html"); }

// The table is the export of a generated catalogue; each round imports it into an emptied one.
void BM_ImportCsv(benchmark::State& state) {
  in_program(static_cast<int>(state.range(0)), [&](Window) {
    const std::string table = записи_в_csv(каталог_для_экспорта());
    for (auto _ : state) {
      state.PauseTiming();
      база_лит.retract_all();
      категории_лит.retract_all();
      виды_лит.retract_all();
      забыть_историю();
      state.ResumeTiming();
      auto plan = разобрать_импорт(table);
      применить(операция_импорта(std::get<ПланИмпорта>(*plan), "каталог.csv"));
      benchmark::DoNotOptimize(база_лит.count());
    }
    state.counters["records"] = static_cast<double>(база_лит.count());
  });
}

}  // namespace

BENCHMARK(BM_FilterList)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(8)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportCsv)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportHtml)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ImportCsv)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3)
    ->ReportAggregatesOnly(true);
