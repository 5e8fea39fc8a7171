// The catalogue's sections and tables (declared here, in kind order), their lookups and the
// display words of a record's integer fields.
#include "app/catalogue_facts.h"

#include <cstring>

#include "runtime/codepage.h"

// Sections and their kinds, each section before its kinds (kind order is declaration order).
FactSection секция_видов;
FactKind<std::string> виды_лит{секция_видов, "виды_лит"_cp};

FactSection секция_категорий;
FactKind<std::string> категории_лит{секция_категорий, "категории_лит"_cp};

FactSection секция_базы;
ТаблицаБазы база_лит{секция_базы, "база_лит"_cp};

FactSection секция_состояния;
SingleKind<std::vector<std::int32_t>> списоккодов{секция_состояния, "списоккодов"_cp, {0}};
DetermKind<std::tuple<Window, std::vector<std::string>, std::vector<std::int32_t>>>
    выделенныеэлементыспискапросмотра{секция_состояния, "выделенныеэлементыспискапросмотра"_cp};
ТаблицаРежима устрежимработысбазой{секция_состояния, "устрежимработысбазой"_cp, режим_ввода};
SingleKind<std::string> имяфайлаобложки{секция_состояния, "имяфайлаобложки"_cp, std::string()};
SingleKind<std::int32_t> счетчикпрерывтаймера{секция_состояния, "счетчикпрерывтаймера"_cp, 0};
ТаблицаОкнаОбложки id_окнаобложки{секция_состояния, "id_окнаобложки"_cp};

FactSection секция_настроек;
DetermKind<Binary> шрифткарточки{секция_настроек, "шрифткарточки"_cp};

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

std::optional<Window> ТаблицаОкнаОбложки::operator()(bool открыто) const {
  const auto fact = get();
  if (!fact || std::get<1>(*fact) != открыто) return std::nullopt;
  return std::get<0>(*fact);
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

Binary шрифт_в_блок(const Font& шрифт) { return Binary{{шрифт.bytes.begin(), шрифт.bytes.end()}}; }

std::optional<Font> шрифт_из_блока(const Binary& блок) {
  Font f;
  if (блок.bytes.size() != f.bytes.size()) return std::nullopt;
  std::memcpy(f.bytes.data(), блок.bytes.data(), f.bytes.size());
  return f;
}

void сбросить_рабочие_факты() {
  списоккодов.set({0});
  выделенныеэлементыспискапросмотра.retract_all();
  устрежимработысбазой.set(режим_ввода);
  имяфайлаобложки.set(std::string());
  счетчикпрерывтаймера.set(0);
  id_окнаобложки.retract_all();
}
