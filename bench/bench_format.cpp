// Formatted output and list ordering at the catalogue's scale: the list lines of a catalogue of
// realistic records (Cyrillic authors and titles of the lengths found in a library), formatted
// directly and through the core's field table, and the sort of a long category list.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/list_line.h"
#include "core/list_ordering.h"
#include "runtime/codepage.h"
#include "runtime/format.h"

namespace {

struct Книга {
  std::int32_t код = 0;
  std::string автор, наименование, категория, обложка;
  bool диск = false, твердый = false;
};

const std::array kSurnames = {"Пушкин", "Лермонтов", "Гоголь", "Толстой", "Достоевский", "Чехов",
                              "Тургенев", "Салтыков-Щедрин", "Островский", "Гончаров", "Некрасов",
                              "Бунин", "Куприн", "Жуковский", "Грибоедов", "Крылов", "Тютчев", "Фет"};
const std::array kInitials = {"А.С.", "М.Ю.", "Н.В.", "Л.Н.", "Ф.М.", "А.П.", "И.С.", "М.Е.", "И.А."};
const std::array kWords = {"Война", "и", "мир", "Мёртвые", "души", "Герой", "нашего", "времени",
                           "Преступление", "наказание", "Вишнёвый", "сад", "Отцы", "дети", "Обломов",
                           "Капитанская", "дочка", "Записки", "охотника", "Тёмные", "аллеи",
                           "Повести", "Белкина", "Горе", "от", "ума", "собрание", "сочинений", "том"};
const std::array kCategories = {"Поэзия", "Проза", "Драматургия", "История", "Философия",
                                "Детская литература", "Публицистика", "Мемуары", "Басни", "Критика"};

std::vector<Книга> make_catalogue(std::size_t count) {
  std::mt19937 rng(1251);
  auto any = [&](const auto& table) {
    return cp1251::from_utf8(table[std::uniform_int_distribution<std::size_t>(0, table.size() - 1)(rng)]);
  };
  std::uniform_int_distribution<int> words(1, 7);
  std::vector<Книга> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    Книга& b = out[i];
    b.код = static_cast<std::int32_t>(i + 1);
    b.автор = any(kSurnames) + " " + any(kInitials);
    b.наименование = any(kWords);
    for (int n = words(rng); n > 1; --n) b.наименование += " " + any(kWords);
    b.категория = any(kCategories);
    b.обложка = "cover" + std::to_string(i) + ".bmp";
    b.диск = i % 2 == 0;
    b.твердый = i % 3 == 0;
  }
  return out;
}

// Every list line of the catalogue, as the list window fills its list box.
void BM_FormatListLine(benchmark::State& state) {
  const auto catalogue = make_catalogue(static_cast<std::size_t>(state.range(0)));
  const std::string есть = "Есть"_cps, нет = "Нет"_cps, твёрдый = "Твёрдый"_cps, мягкий = "Мягкий"_cps;
  std::vector<std::string> lines;
  lines.reserve(catalogue.size());
  for (auto _ : state) {
    lines.clear();
    for (const Книга& b : catalogue)
      lines.push_back(IO_FormatStr("%5.5|%20.18|%-30.25|%10.10|%4.4|%8.8|%20.20",
                                   {b.код, b.автор, b.наименование, b.категория, b.диск ? есть : нет,
                                    b.твердый ? твёрдый : мягкий, b.обложка}));
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FormatListLine)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same lines made as the catalogue makes them: through the field table (the directives, the
// display words and the accessors of each field), without a window.
void BM_ListLineFromFieldTable(benchmark::State& state) {
  std::vector<ЗаписьБазы> records;
  for (const Книга& b : make_catalogue(static_cast<std::size_t>(state.range(0))))
    records.push_back({b.код, b.автор, b.наименование, b.категория, "", b.диск, b.твердый, b.обложка});
  std::vector<std::string> lines;
  lines.reserve(records.size());
  for (auto _ : state) {
    lines.clear();
    for (const ЗаписьБазы& з : records) lines.push_back(*строка_списка(з));
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListLineFromFieldTable)->Arg(100000)->Unit(benchmark::kMillisecond);

// The sorted copy of a long category list with many repeats and shared prefixes.
void BM_SortCategories(benchmark::State& state) {
  std::mt19937 rng(866);
  std::uniform_int_distribution<std::size_t> word(0, kWords.size() - 1), cat(0, kCategories.size() - 1);
  std::vector<std::string> categories(static_cast<std::size_t>(state.range(0)));
  for (std::string& c : categories)
    c = cp1251::from_utf8(kCategories[cat(rng)]) + " " + cp1251::from_utf8(kWords[word(rng)]);
  for (auto _ : state) benchmark::DoNotOptimize(получитьсортировсписоккатегорий(categories));
}
BENCHMARK(BM_SortCategories)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
