// The catalogue's data sections and tables (declared here, in kind order) and their lookups.
#include "core/catalogue_facts.h"

#include "runtime/codepage.h"

// Sections and their kinds, each section before its kinds (kind order is declaration order).
FactSection секция_видов;
FactKind<std::string> виды_лит{секция_видов, "виды_лит"_cp};

FactSection секция_категорий;
FactKind<std::string> категории_лит{секция_категорий, "категории_лит"_cp};

FactSection секция_базы;
ТаблицаБазы база_лит{секция_базы, "база_лит"_cp};

FactSection секция_кодов_каталога;
DetermKind<std::int32_t> наибольший_код{секция_кодов_каталога, "наибольший_код"_cp};

FactSection секция_настроек;
DetermKind<Binary> шрифткарточки{секция_настроек, "шрифткарточки"_cp};

std::vector<ЗаписьБазы> ТаблицаБазы::по_коду(std::int32_t код) const {
  std::vector<ЗаписьБазы> out;
  for (auto v : views())
    if (v[&ЗаписьБазы::код] == код) out.push_back(v.record());
  return out;
}

std::vector<std::int32_t> ТаблицаБазы::по_содержанию(const ЗаписьБазы& п) const {
  const std::string ключ = ключ_повтора(п);
  std::vector<std::int32_t> out;
  std::string другой;
  for (const ЗаписьБазы& з : facts()) {
    другой.clear();
    ключ_повтора(з, другой);
    if (другой == ключ) out.push_back(з.код);
  }
  return out;
}

std::string ключ_записи(const ЗаписьБазы& з) {
  std::string k = std::to_string(з.код);
  k.push_back('\0');
  ключ_повтора(з, k);
  return k;
}

void очистить_каталог() {
  RNT_RetractallVar(секция_видов);
  RNT_RetractallVar(секция_категорий);
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_сведений);
  RNT_RetractallVar(секция_кодов_каталога);
}
