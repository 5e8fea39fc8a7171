// The catalogue of 100,000 records written as a PDF file through "Каталог в PDF…"'s own steps:
// the table of the catalogue in the list's order, every page laid out twice (counted, then
// painted) under the progress box, the file made aside and put in place.
#include <benchmark/benchmark.h>

#include "app/catalogue_print.h"
#include "bench_program.h"

namespace {

void BM_CatalogueToPdf(benchmark::State& state) {
  bench_program::in_program(static_cast<int>(state.range(0)), [&](Window task) {
    const std::string file = "каталог.pdf"_cps;
    for (auto _ : state) {
      const PrintTable t = таблица_каталога(task, "Каталог записывается в PDF…"_cps);
      if (!print_ToPdf(t, file)) state.SkipWithError("the PDF was not written");
    }
    state.counters["bytes"] = static_cast<double>(QFile(QString::fromStdString(cp1251::to_utf8(file))).size());
  });
}

}  // namespace

BENCHMARK(BM_CatalogueToPdf)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
