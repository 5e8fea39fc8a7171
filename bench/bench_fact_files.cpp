// The catalogue's fact file at a large scale: consulting and saving a catalogue of generated
// records with Cyrillic authors ("Фамилия И. О.") and titles of two to seven words, the sample
// categories and kinds, and a cover file name on every fourth record; and the duplicate check of
// one record against such a catalogue.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "core/catalogue_facts.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"

namespace {

const std::array kSurnames = {"Пушкин"_cp, "Лермонтов"_cp, "Гоголь"_cp, "Толстой"_cp, "Чехов"_cp,
                              "Достоевский"_cp, "Тургенев"_cp, "Гончаров"_cp, "Некрасов"_cp, "Островский"_cp,
                              "Салтыков-Щедрин"_cp, "Лесков"_cp, "Бунин"_cp, "Куприн"_cp, "Грибоедов"_cp};
const std::array kInitials = {"А."_cp, "Л."_cp, "Н."_cp, "М."_cp, "Ф."_cp, "И."_cp, "С."_cp, "Ю."_cp, "П."_cp};
const std::array kWords = {"война"_cp, "мир"_cp, "сад"_cp, "вишнёвый"_cp, "записки"_cp, "охотника"_cp,
                           "мёртвые"_cp, "души"_cp, "отцы"_cp, "и"_cp, "дети"_cp, "герой"_cp, "нашего"_cp,
                           "времени"_cp, "преступление"_cp, "наказание"_cp, "капитанская"_cp, "дочка"_cp,
                           "повести"_cp, "Белкина"_cp, "история"_cp, "государства"_cp, "Российского"_cp};
const std::array kCategories = {"Поэзия"_cp, "Проза"_cp, "Драматургия"_cp, "История"_cp, "Философия"_cp,
                                "Детская литература"_cp, "Критика"_cp, "Мемуары"_cp};
const std::array kKinds = {"Художественная"_cp, "Научная"_cp, "Учебная"_cp, "Справочная"_cp, ""_cp};

// Fills the catalogue table with `count` records, newest first as the program stores them.
void fill_catalogue(std::size_t count) {
  RNT_RetractallVar(секция_базы);
  std::mt19937 rng(1251);
  auto pick = [&](const auto& list) { return std::string(list[rng() % list.size()]); };
  ЗаписьБазы r;
  for (std::size_t i = 0; i < count; ++i) {
    r.код = static_cast<std::int32_t>(i + 1);
    r.автор = pick(kSurnames) + " " + pick(kInitials) + " " + pick(kInitials);
    r.наименование = pick(kWords);
    r.наименование[0] = static_cast<char>(r.наименование[0] & ~0x20);  // a capital, for Cyrillic letters
    for (std::size_t w = 1 + rng() % 6; w > 0; --w) r.наименование += " " + pick(kWords);
    r.категория = pick(kCategories);
    r.вид = pick(kKinds);
    r.диск = static_cast<std::int32_t>(rng() % 2);
    r.переплет = static_cast<std::int32_t>(rng() % 2);
    r.обложка = i % 4 == 0 ? "cover" + std::to_string(i) + ".bmp" : std::string();
    база_лит.asserta(r);
  }
}

std::string bench_file() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("foliarkh-bench-" + std::to_string(::getpid()) + ".pbs")).string();
  return path;
}

void BM_SaveCatalogue(benchmark::State& state) {
  fill_catalogue(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) RNT_Save(секция_базы, bench_file());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(bench_file())));
  std::filesystem::remove(bench_file());
  RNT_RetractallVar(секция_базы);
}
BENCHMARK(BM_SaveCatalogue)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ConsultCatalogue(benchmark::State& state) {
  fill_catalogue(static_cast<std::size_t>(state.range(0)));
  RNT_Save(секция_базы, bench_file());
  for (auto _ : state) {
    state.PauseTiming();
    RNT_RetractallVar(секция_базы);
    state.ResumeTiming();
    RNT_Consult(секция_базы, bench_file());
  }
  if (база_лит.count() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("records lost");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(bench_file())));
  std::filesystem::remove(bench_file());
  RNT_RetractallVar(секция_базы);
}
BENCHMARK(BM_ConsultCatalogue)->Arg(100000)->Unit(benchmark::kMillisecond);

// The duplicate check of one record against the whole catalogue, as OK in the data-entry dialog
// asks it (by content, through the field table's duplicate key), without a window.
void BM_DuplicateCheck(benchmark::State& state) {
  fill_catalogue(static_cast<std::size_t>(state.range(0)));
  ЗаписьБазы probe = *база_лит.first();
  probe.обложка += "x";  // like a stored one but for its last field: every record is looked at
  for (auto _ : state) benchmark::DoNotOptimize(база_лит.по_содержанию(probe));
  RNT_RetractallVar(секция_базы);
}
BENCHMARK(BM_DuplicateCheck)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
