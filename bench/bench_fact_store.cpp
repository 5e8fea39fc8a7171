// The fact store at the catalogue's scale: asserting, enumerating and removing by code among
// records shaped like catalogue records (an integer, four texts of 10 to 40 bytes of Cyrillic,
// two integers and a file name).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/fact_kind.h"

namespace {

struct Запись {
  std::int32_t код = 0;
  std::string автор, наименование, категория, вид;
  std::int32_t диск = 0, переплет = 0;
  std::string обложка;
  auto fields() { return std::tie(код, автор, наименование, категория, вид, диск, переплет, обложка); }
};

// A cp1251 text of `n` bytes of Cyrillic letters and blanks.
std::string cyrillic(std::mt19937& rng, std::size_t n) {
  std::string s(n, ' ');
  std::uniform_int_distribution<int> letter(0xC0, 0xFF);
  for (std::size_t i = 0; i < n; ++i)
    if (i % 7 != 6) s[i] = static_cast<char>(letter(rng));
  return s;
}

std::vector<Запись> make_records(std::size_t count) {
  std::mt19937 rng(1251);
  std::uniform_int_distribution<std::size_t> length(10, 40);
  std::vector<Запись> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    Запись& r = out[i];
    r.код = static_cast<std::int32_t>(i + 1);
    r.автор = cyrillic(rng, length(rng));
    r.наименование = cyrillic(rng, length(rng));
    r.категория = cyrillic(rng, length(rng));
    r.вид = cyrillic(rng, length(rng));
    r.диск = static_cast<std::int32_t>(i % 2);
    r.переплет = static_cast<std::int32_t>(i % 3 == 0);
    r.обложка = "cover" + std::to_string(i) + ".bmp";
  }
  return out;
}

// Adds every record at the back of an empty table.
void BM_FactStoreAssertz(benchmark::State& state) {
  const auto records = make_records(static_cast<std::size_t>(state.range(0)));
  FactSection section;
  FactKind<Запись> база_лит{section, "база_лит"};
  for (auto _ : state) {
    for (const Запись& r : records) база_лит.assertz(r);
    state.PauseTiming();
    база_лит.retract_all();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FactStoreAssertz)->Arg(100000)->Unit(benchmark::kMillisecond);

// Enumerates the whole table in chain order, reading every field of every record.
void BM_FactStoreEnumerate(benchmark::State& state) {
  const auto records = make_records(static_cast<std::size_t>(state.range(0)));
  FactSection section;
  FactKind<Запись> база_лит{section, "база_лит"};
  for (const Запись& r : records) база_лит.assertz(r);
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const Запись& r : база_лит.facts()) {
      sum += r.код + r.диск + r.переплет;
      sum += static_cast<std::int64_t>(r.автор.size() + r.наименование.size() + r.категория.size() + r.вид.size() +
                                       r.обложка.size());
      sum += r.автор.back() + r.обложка.front();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FactStoreEnumerate)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same through views: each record is copied once as a block, the fields are read in place.
void BM_FactStoreEnumerateViews(benchmark::State& state) {
  const auto records = make_records(static_cast<std::size_t>(state.range(0)));
  FactSection section;
  FactKind<Запись> база_лит{section, "база_лит"};
  for (const Запись& r : records) база_лит.assertz(r);
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (auto v : база_лит.views()) {
      sum += v[&Запись::код] + v[&Запись::диск] + v[&Запись::переплет];
      const auto автор = v[&Запись::автор];
      const auto обложка = v[&Запись::обложка];
      sum += static_cast<std::int64_t>(автор.size() + v[&Запись::наименование].size() + v[&Запись::категория].size() +
                                       v[&Запись::вид].size() + обложка.size());
      sum += автор.back() + обложка.front();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FactStoreEnumerateViews)->Arg(100000)->Unit(benchmark::kMillisecond);

// Deletes every record by its code, as the delete command does (the first record whose code
// equals the one asked for), in table order.
void BM_FactStoreRetractFirst(benchmark::State& state) {
  const auto records = make_records(static_cast<std::size_t>(state.range(0)));
  FactSection section;
  FactKind<Запись> база_лит{section, "база_лит"};
  for (auto _ : state) {
    state.PauseTiming();
    for (const Запись& r : records) база_лит.assertz(r);
    state.ResumeTiming();
    for (const Запись& r : records) {
      const std::int32_t код = r.код;
      benchmark::DoNotOptimize(база_лит.retract_first([код](const Запись& з) { return з.код == код; }));
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FactStoreRetractFirst)->Arg(100000)->Unit(benchmark::kMillisecond);

// Deletes the last record of a full table by its code: the longest search the delete command
// can make; the record is put back outside the timing.
void BM_FactStoreRetractFirstLast(benchmark::State& state) {
  const auto records = make_records(static_cast<std::size_t>(state.range(0)));
  FactSection section;
  FactKind<Запись> база_лит{section, "база_лит"};
  for (const Запись& r : records) база_лит.assertz(r);
  const std::int32_t last = records.back().код;
  for (auto _ : state) {
    auto removed = база_лит.take_first([last](const Запись& з) { return з.код == last; });
    state.PauseTiming();
    база_лит.assertz(*removed);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FactStoreRetractFirstLast)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
