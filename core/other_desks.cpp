// The sections other desks stored, read again, and what that changed (see other_desks.h).
#include "core/other_desks.h"

#include <algorithm>
#include <unordered_map>

#include "core/book_details.h"
#include "core/catalogue_facts.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"

std::vector<const РазделКаталога*> разделы_изменённые_другими() {
  ХранилищеКаталога& хранилище = хранилище_каталога();
  std::vector<const РазделКаталога*> разделы;
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии && хранилище.изменён(р)) разделы.push_back(&р);
  return разделы;
}

void различия_записей(const std::vector<ЗаписьБазы>& было, const std::vector<ЗаписьБазы>& стало,
                      std::vector<ЗаписьБазы>& убранные, std::vector<ЗаписьБазы>& добавленные) {
  // A desk's change puts a record first, takes one out, or both: the records before and after it
  // stand as they stood.
  std::size_t начало = 0;
  const std::size_t общих = std::min(было.size(), стало.size());
  while (начало < общих && было[начало] == стало[начало]) ++начало;
  std::size_t конец = 0;
  while (конец < общих - начало && было[было.size() - 1 - конец] == стало[стало.size() - 1 - конец]) ++конец;
  const std::size_t до_было = было.size() - конец, до_стало = стало.size() - конец;

  std::unordered_map<std::string, std::size_t> осталось;  // the records of `было` not yet met in `стало`
  for (std::size_t i = начало; i < до_было; ++i) ++осталось[ключ_записи(было[i])];
  for (std::size_t i = начало; i < до_стало; ++i) {
    const auto it = осталось.find(ключ_записи(стало[i]));
    if (it != осталось.end() && it->second > 0)
      --it->second;
    else
      добавленные.push_back(стало[i]);
  }
  for (std::size_t i = начало; i < до_было; ++i) {
    const auto it = осталось.find(ключ_записи(было[i]));
    if (it->second == 0) continue;
    --it->second;
    убранные.push_back(было[i]);
  }
}

namespace {

// The details by code: each code's first line, as the index of details reads them.
std::unordered_map<std::int32_t, СведенияКниги> сведения_по_кодам() {
  std::unordered_map<std::int32_t, СведенияКниги> out;
  for (const СведенияЛит& с : сведения_лит.facts()) out.try_emplace(с.код, с.сведения);
  return out;
}

// The books whose details another desk changed: each stored record of such a code taken out with
// its details as they were and put in with them as they are, unless its record changed anyway.
void различия_сведений(const std::unordered_map<std::int32_t, СведенияКниги>& было, Изменения& и) {
  const std::unordered_map<std::int32_t, СведенияКниги> стало = сведения_по_кодам();
  const auto каковы = [](const std::unordered_map<std::int32_t, СведенияКниги>& где, std::int32_t код) {
    const auto it = где.find(код);
    return it == где.end() ? СведенияКниги{} : it->second;
  };
  std::unordered_map<std::int32_t, std::pair<СведенияКниги, СведенияКниги>> изменённые;
  for (const auto& [код, с] : было)
    if (каковы(стало, код) != с) изменённые.try_emplace(код, с, каковы(стало, код));
  for (const auto& [код, с] : стало)
    if (!было.contains(код) && !с.пусто()) изменённые.try_emplace(код, СведенияКниги{}, с);
  if (изменённые.empty()) return;
  for (ЗаписьБазы& з : и.добавленные) изменённые.erase(з.код);
  for (const ЗаписьБазы& з : база_лит.facts()) {
    const auto it = изменённые.find(з.код);
    if (it == изменённые.end()) continue;
    ЗаписьБазы прежняя = з, новая = з;
    прежняя.сведения = it->second.first;
    новая.сведения = it->second.second;
    и.убранные.push_back(std::move(прежняя));
    и.добавленные.push_back(std::move(новая));
  }
}

}  // namespace

Перечитанное перечитать_разделы(const std::vector<const РазделКаталога*>& разделы) {
  Перечитанное итог;
  ХранилищеКаталога& хранилище = хранилище_каталога();
  for (const РазделКаталога* р : разделы) {
    const bool записи = р->секция == &база_лит.section();
    const bool категории = р->секция == &категории_лит.section();
    const bool виды = р->секция == &виды_лит.section();
    const bool сведения = р->секция == &сведения_лит.section();
    std::unordered_map<std::int32_t, СведенияКниги> сведения_было;
    if (сведения) сведения_было = сведения_по_кодам();
    std::vector<ЗаписьБазы> записи_было;
    std::vector<std::string> список_было;
    if (записи) записи_было = база_лит.all();
    if (категории) список_было = категории_лит.all();
    if (виды) список_было = виды_лит.all();
    try {
      хранилище.перечитать(*р);
    } catch (const RunError& e) {
      auto сообщение = сообщение_о_загрузке(*р, e, true);
      if (!сообщение) throw;
      итог.сообщения.push_back(std::move(*сообщение));
    }
    Изменения& и = итог.изменения;
    и.перечитанные.push_back(р->секция);
    и.читатели = и.читатели || р->секция == &читатель_лит.section();
    и.выдачи = и.выдачи || р->секция == &выдача_лит.section();
    и.настройки = и.настройки || р->секция == &срок_выдачи_дней.section();
    if (записи) различия_записей(записи_было, база_лит.all(), и.убранные, и.добавленные);
    if (категории) и.категории = категории_лит.all() != список_было;
    if (виды) и.виды = виды_лит.all() != список_было;
    if (сведения) различия_сведений(сведения_было, и);
  }
  return итог;
}
