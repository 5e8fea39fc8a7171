// The catalogue's statistics (see catalogue_statistics.h): one pass over each table.
#include "core/catalogue_statistics.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "runtime/codepage.h"

namespace {

namespace chr = std::chrono;

// The counts as columns, most first, equal counts by their label; at most `сколько`.
std::vector<СтолбецСтатистики> по_убыванию(const std::map<std::string, std::size_t>& счёт,
                                             std::size_t сколько = static_cast<std::size_t>(-1)) {
  std::vector<СтолбецСтатистики> out;
  for (const auto& [подпись, число] : счёт) out.push_back({подпись, число});
  std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.число > b.число; });
  if (out.size() > сколько) out.resize(сколько);
  return out;
}

// The codes with the most loans, at most ten, equal ones by code.
std::vector<std::pair<std::int32_t, std::size_t>> чаще(const std::unordered_map<std::int32_t, std::size_t>& счёт) {
  std::vector<std::pair<std::int32_t, std::size_t>> out(счёт.begin(), счёт.end());
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  if (out.size() > 10) out.resize(10);
  return out;
}

}  // namespace

СтатистикаКаталога статистика_каталога(День день) {
  СтатистикаКаталога с;
  std::map<std::string, std::size_t> категории, виды;
  std::unordered_map<std::int32_t, std::pair<std::string, std::string>> книги;
  for (auto v : база_лит.views()) {
    ++категории[std::string(v[&ЗаписьБазы::категория])];
    const std::string вид(v[&ЗаписьБазы::вид]);
    ++виды[вид.empty() ? "без вида"_cps : вид];
    книги.try_emplace(v[&ЗаписьБазы::код], std::string(v[&ЗаписьБазы::автор]), std::string(v[&ЗаписьБазы::наименование]));
  }
  с.по_категориям = по_убыванию(категории);
  с.по_видам = по_убыванию(виды);

  // Decades of publication, from each book's year (its first line of details, as they are read).
  std::unordered_map<std::int32_t, std::int32_t> годы;
  for (auto v : сведения_лит.views()) годы.try_emplace(v.get<0>(), v.get<1>());  // код, Год
  std::map<std::int32_t, std::size_t> десятилетия;
  std::size_t без_года = 0;
  for (const auto& [код, _] : книги) {
    const auto it = годы.find(код);
    if (it == годы.end() || it->second <= 0)
      ++без_года;
    else
      ++десятилетия[it->second / 10 * 10];
  }
  for (const auto& [десятилетие, число] : десятилетия)
    с.по_десятилетиям.push_back({std::to_string(десятилетие) + "-е"_cps, число});
  if (без_года > 0) с.по_десятилетиям.push_back({"год не указан"_cps, без_года});

  // The months: the 12 up to `день`'s, each as the files write its dates' first 7 bytes.
  const chr::year_month этот{chr::year_month_day{день}.year(), chr::year_month_day{день}.month()};
  std::map<std::string, std::size_t> месяцы;
  for (int i = 11; i >= 0; --i) {
    const chr::year_month м = этот - chr::months(i);
    месяцы[текст_даты(День{м / chr::day{1}}).substr(0, 7)] = 0;
  }
  std::unordered_set<std::int32_t> на_руках;
  std::unordered_map<std::int32_t, std::size_t> выдачи_книг, выдачи_читателей;
  for (auto v : выдача_лит.views()) {
    const std::int32_t книга = v[&Выдача::код_книги];
    if (v[&Выдача::возвращена].empty()) на_руках.insert(книга);
    ++выдачи_книг[книга];
    ++выдачи_читателей[v[&Выдача::код_читателя]];
    const auto it = месяцы.find(std::string(v[&Выдача::выдана].substr(0, 7)));
    if (it != месяцы.end()) ++it->second;
  }
  std::size_t вне = 0;
  for (const auto& [код, _] : книги) вне += на_руках.contains(код);
  с.наличие = {{"на руках"_cps, вне}, {"на полке"_cps, книги.size() - вне}};
  for (const auto& [месяц, число] : месяцы) с.по_месяцам.push_back({месяц, число});

  for (const auto& [код, число] : чаще(выдачи_книг)) {
    const auto it = книги.find(код);
    с.книги_чаще.push_back({std::to_string(код) + (it == книги.end() ? std::string()
                                                                      : " "_cps + it->second.first + " «"_cps +
                                                                            it->second.second + "»"_cps),
                            число});
  }
  std::unordered_map<std::int32_t, std::string> имена;
  for (auto v : читатель_лит.views()) имена.emplace(v[&Читатель::код], std::string(v[&Читатель::фио]));
  for (const auto& [код, число] : чаще(выдачи_читателей)) {
    const auto it = имена.find(код);
    с.читатели_чаще.push_back({it == имена.end() ? "читатель "_cps + std::to_string(код) : it->second, число});
  }
  return с;
}
