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

FactSection секция_читателей;
FactKind<Читатель> читатель_лит{секция_читателей, "читатель_лит"_cp};

FactSection секция_кодов_читателей;
DetermKind<std::int32_t> наибольший_код_читателя{секция_кодов_читателей, "наибольший_код_читателя"_cp};

FactSection секция_выдач;
FactKind<Выдача> выдача_лит{секция_выдач, "выдача_лит"_cp};

FactSection секция_срока_выдачи;
DetermKind<std::int32_t> срок_выдачи_дней{секция_срока_выдачи, "срок_выдачи_дней"_cp};

FactSection секция_настроек;
DetermKind<Binary> шрифткарточки{секция_настроек, "шрифткарточки"_cp};

std::vector<ЗаписьБазы> ТаблицаБазы::по_коду(std::int32_t код) const {
  std::vector<ЗаписьБазы> out;
  for (auto v : views())
    if (v[&ЗаписьБазы::код] == код) out.push_back(v.record());
  return out;
}

std::vector<std::int32_t> ТаблицаБазы::по_содержанию(const ЗаписьБазы& п) const {
  // Field by field through the duplicate key's fields, the first differing one ending the
  // comparison; each stored record is read into one record, whose texts keep their room.
  std::vector<const ПолеКниги*> ключевые;
  for (const ПолеКниги& поле : поля_книги())
    if (поле.в_ключе_повтора) ключевые.push_back(&поле);
  const auto равны = [&п, &ключевые](const ЗаписьБазы& з) {
    for (const ПолеКниги* поле : ключевые) {
      if (поле->тип == ТипПоля::текст ? поле->текст(з) != поле->текст(п) : поле->число(з) != поле->число(п))
        return false;
    }
    return true;
  };
  std::vector<std::int32_t> out;
  ЗаписьБазы з;
  for (auto v : views()) {
    v.read(з);
    if (равны(з)) out.push_back(з.код);
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
  RNT_RetractallVar(секция_читателей);
  RNT_RetractallVar(секция_кодов_читателей);
  RNT_RetractallVar(секция_выдач);
  RNT_RetractallVar(секция_срока_выдачи);
}
