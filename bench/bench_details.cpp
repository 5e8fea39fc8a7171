// Publication details at 100,000 books: loading "Сведения.pbs" (every book with details, as the
// start loads it, and then the index by code the views read them through), the file's size, and the
// similar-book check that data entry runs at OK (with its index current, and just after a change,
// when the index is made again first).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/book_details.h"
#include "core/catalogue_facts.h"
#include "core/similar_books.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"

namespace {

constexpr const char* kИздательства[] = {"Наука", "Художественная литература", "Современник", "Азбука", "Эксмо"};
constexpr const char* kГорода[] = {"Москва", "Ленинград", "С.-Петербург", "Киев", ""};

// `count` books, each with details: a year, a publisher and a place, an ISBN, a call number, the
// copies and pages, and a note on every tenth.
void fill(std::size_t count) {
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_сведений);
  for (std::size_t i = 0; i < count; ++i) {
    const auto код = static_cast<std::int32_t>(i + 1);
    ЗаписьБазы з{код, cp1251::from_utf8("Автор " + std::to_string(i % 5000)), cp1251::from_utf8("Книга номер " + std::to_string(i)),
                 cp1251::from_utf8("Проза"), "", 0, 1, "", std::nullopt};
    база_лит.asserta(з);
    СведенияКниги с;
    с.год = static_cast<std::int32_t>(1900 + i % 120);
    с.издательство = cp1251::from_utf8(kИздательства[i % 5]);
    с.место = cp1251::from_utf8(kГорода[i % 5]);
    с.isbn = "978" + std::to_string(1000000000 + i);  // 13 digits (not checked here)
    с.шифр = "84(2)" + std::to_string(i % 100);
    с.экземпляров = static_cast<std::int32_t>(1 + i % 3);
    с.страниц = static_cast<std::int32_t>(100 + i % 700);
    if (i % 10 == 0) с.примечание = cp1251::from_utf8("Подарок читателя.\nС автографом.");
    сведения_лит.asserta(СведенияЛит{код, с});
  }
}

std::string bench_file() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("foliarkh-details-" + std::to_string(::getpid()) + ".pbs")).string();
  return path;
}

// The file read into its section, again and again, `after` timed with each reading; then `check`
// on what was read (its error skips the benchmark, when any).
template <class After, class Check>
void load_details(benchmark::State& state, After after, Check check) {
  fill(static_cast<std::size_t>(state.range(0)));
  RNT_Save(секция_сведений, bench_file());
  for (auto _ : state) {
    state.PauseTiming();
    RNT_RetractallVar(секция_сведений);
    state.ResumeTiming();
    RNT_Consult(секция_сведений, bench_file());
    after();
  }
  if (const char* error = check()) state.SkipWithError(error);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(bench_file()));
  std::filesystem::remove(bench_file());
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_сведений);
}

// The file read into its section: what "Сведения.pbs" adds to the start.
void BM_LoadDetailsFile(benchmark::State& state) {
  load_details(
      state, [] {},
      [&state]() -> const char* {
        return сведения_лит.count() == static_cast<std::size_t>(state.range(0)) ? nullptr : "lines lost";
      });
}
BENCHMARK(BM_LoadDetailsFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// The file read and the index by code made, as the first view that shows a detail makes it.
void BM_LoadDetailsAndIndex(benchmark::State& state) {
  load_details(
      state, [] { benchmark::DoNotOptimize(экземпляров_книги(1)); },
      []() -> const char* {  // the second book: two copies
        return экземпляров_книги(2) == 2 ? nullptr : "details not found";
      });
}
BENCHMARK(BM_LoadDetailsAndIndex)->Arg(100000)->Unit(benchmark::kMillisecond);

// The similar-book check of one record at OK, its index current (the usual case: nothing changed
// since the last check) — a record like none, so both keys are looked up and nothing found.
void BM_SimilarBookCheck(benchmark::State& state) {
  fill(static_cast<std::size_t>(state.range(0)));
  ЗаписьБазы проба{0, cp1251::from_utf8("Новый автор"), cp1251::from_utf8("Новая книга"), "", "", 0, 1, "", СведенияКниги{}};
  проба.сведения->isbn = "9780306406157";
  похожая_книга(проба);  // the index made
  for (auto _ : state) benchmark::DoNotOptimize(похожая_книга(проба));
  // A record of a stored book's name is found.
  проба.наименование = cp1251::from_utf8("книга номер 77");
  проба.автор = cp1251::from_utf8("автор 77");
  if (!похожая_книга(проба)) state.SkipWithError("similar book not found");
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_сведений);
}
BENCHMARK(BM_SimilarBookCheck)->Arg(100000)->Unit(benchmark::kMillisecond);

// The check at the first OK after a change of the catalogue: the index is made again first.
void BM_SimilarBookCheckAfterChange(benchmark::State& state) {
  fill(static_cast<std::size_t>(state.range(0)));
  const ЗаписьБазы проба{0, cp1251::from_utf8("Новый автор"), cp1251::from_utf8("Новая книга"), "", "", 0, 1, "", std::nullopt};
  for (auto _ : state) {
    state.PauseTiming();
    база_лит.asserta(проба);  // a change, taken back: the catalogue as it was, its index out of date
    база_лит.retract_first();
    state.ResumeTiming();
    benchmark::DoNotOptimize(похожая_книга(проба));
  }
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_сведений);
}
BENCHMARK(BM_SimilarBookCheckAfterChange)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
