// The catalogue's data sections and tables (declared here, in kind order), their lookups and the
// display words of a record's integer fields.
#include "core/catalogue_facts.h"

#include "runtime/codepage.h"

// Sections and their kinds, each section before its kinds (kind order is declaration order).
FactSection секция_видов;
FactKind<std::string> виды_лит{секция_видов, "виды_лит"_cp};

FactSection секция_категорий;
FactKind<std::string> категории_лит{секция_категорий, "категории_лит"_cp};

FactSection секция_базы;
ТаблицаБазы база_лит{секция_базы, "база_лит"_cp};

std::vector<ЗаписьБазы> ТаблицаБазы::по_коду(std::int32_t код) const {
  std::vector<ЗаписьБазы> out;
  for (auto v : views())
    if (v[&ЗаписьБазы::код] == код) out.push_back(v.record());
  return out;
}

std::vector<std::int32_t> ТаблицаБазы::по_содержанию(const ЗаписьБазы& п) const {
  std::vector<std::int32_t> out;
  for (auto v : views()) {
    if (v[&ЗаписьБазы::автор] == п.автор && v[&ЗаписьБазы::наименование] == п.наименование &&
        v[&ЗаписьБазы::категория] == п.категория && v[&ЗаписьБазы::вид] == п.вид &&
        v[&ЗаписьБазы::диск] == п.диск && v[&ЗаписьБазы::переплет] == п.переплет &&
        v[&ЗаписьБазы::обложка] == п.обложка)
      out.push_back(v[&ЗаписьБазы::код]);
  }
  return out;
}

std::optional<std::string> вид_переплета(std::int32_t переплет) {
  if (переплет == 0) return "Мягкий"_cps;
  if (переплет == 1) return "Твёрдый"_cps;
  return std::nullopt;
}

std::optional<std::string> наличиедиска(std::int32_t диск) {
  if (диск == 0) return "Нет"_cps;
  if (диск == 1) return "Есть"_cps;
  return std::nullopt;
}

void очистить_каталог() {
  RNT_RetractallVar(секция_видов);
  RNT_RetractallVar(секция_категорий);
  RNT_RetractallVar(секция_базы);
}
