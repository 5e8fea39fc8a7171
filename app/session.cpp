// The session's working and settings sections (declared here, in kind order), the run's
// bookkeeping, and the program's reset entry with its registration.
#include "app/session.h"

#include <cstring>

#include "core/catalogue_facts.h"
#include "core/core_part.h"
#include "layer/layer.h"
#include "packages/packages_part.h"
#include "runtime/codepage.h"
#include "runtime/run.h"

// Sections and their kinds, each section before its kinds (kind order is declaration order).
FactSection секция_состояния;
DetermKind<ВыбранныеСтроки> выделенныеэлементыспискапросмотра{секция_состояния,
                                                               "выделенныеэлементыспискапросмотра"_cp};
ТаблицаРежима устрежимработысбазой{секция_состояния, "устрежимработысбазой"_cp, режим_ввода};
SingleKind<std::string> имяфайлаобложки{секция_состояния, "имяфайлаобложки"_cp, std::string()};
SingleKind<std::int32_t> счетчикпрерывтаймера{секция_состояния, "счетчикпрерывтаймера"_cp, 0};
ТаблицаОкнаОбложки id_окнаобложки{секция_состояния, "id_окнаобложки"_cp};

std::optional<Window> ТаблицаОкнаОбложки::operator()(bool открыто) const {
  const auto fact = get();
  if (!fact || std::get<1>(*fact) != открыто) return std::nullopt;
  return std::get<0>(*fact);
}

Binary шрифт_в_блок(const Font& шрифт) { return Binary{{шрифт.bytes.begin(), шрифт.bytes.end()}}; }

std::optional<Font> шрифт_из_блока(const Binary& блок) {
  Font f;
  if (блок.bytes.size() != f.bytes.size()) return std::nullopt;
  std::memcpy(f.bytes.data(), блок.bytes.data(), f.bytes.size());
  return f;
}

Сеанс& сеанс() {
  static Сеанс с;
  return с;
}

ТемаСправки::ТемаСправки(int тема) : есть_(тема != 0) {
  if (есть_) сеанс().темы_справки.push_back(тема);
}

ТемаСправки::~ТемаСправки() {
  if (есть_ && !сеанс().темы_справки.empty()) сеанс().темы_справки.pop_back();
}

void сбросить_рабочие_факты() {
  списоккодов.set({0});
  выделенныеэлементыспискапросмотра.retract_all();
  устрежимработысбазой.set(режим_ввода);
  имяфайлаобложки.set(std::string());
  счетчикпрерывтаймера.set(0);
  id_окнаобложки.retract_all();
}

namespace {

// The program as a new process finds it: the working tables at their start, no list window open
// (the core's reset empties the model).
void сбросить_состояние_программы() {
  сбросить_рабочие_факты();
  сеанс() = Сеанс{};
}

}  // namespace

void зарегистрировать_состояние_программы() {
  packages_RegisterPart();
  core_RegisterPart();
  RUN_RegisterPart(nullptr, nullptr, сбросить_состояние_программы);
}

std::string папка_для_документов() {
  const std::string& последняя = сеанс().папка_документов;
  return последняя.empty() ? uix_GetUserFolder(uf_Documents) : последняя;
}

void запомнить_папку_документов(const std::string& путь, bool папка) {
  if (папка) {
    сеанс().папка_документов = путь;
    return;
  }
  if (const std::size_t косая = путь.find_last_of('/'); косая != std::string::npos && косая > 0)
    сеанс().папка_документов = путь.substr(0, косая);
}
