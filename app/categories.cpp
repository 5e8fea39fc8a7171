// Category maintenance through the standard prompts; every change is saved at once to
// "КатегЛитер.pbs" (a change whose file cannot be written is told and taken back).
#include "app/categories.h"

#include <map>

#include "app/catalogue_changes.h"
#include "app/toolbars.h"
#include "core/catalogue_facts.h"
#include "core/list_ordering.h"
#include "layer/layer.h"
#include "runtime/codepage.h"

namespace {

const std::vector<std::string>& да_нет() {
  static const std::vector<std::string> кнопки{"&Да"_cps, "&Нет"_cps};
  return кнопки;
}

std::vector<std::string> все_категории() {
  std::vector<std::string> out;
  for (const std::string& к : категории_лит.facts()) out.push_back(к);
  return out;
}

// The question of the edit and delete commands; true for "&Да".
bool спросить(const std::string& заголовок, const std::string& вопрос) {
  return dlg_Ask(uix_GetTaskWin(), заголовок, вопрос, да_нет()) == 0;
}

// How many records have the category.
std::size_t записей_в_категории(const std::string& категория) {
  std::size_t n = 0;
  for (auto v : база_лит.views())
    if (v[&ЗаписьБазы::категория] == категория) ++n;
  return n;
}

}  // namespace

std::vector<std::string> получитьсортировсписоккатегорий() {
  return получитьсортировсписоккатегорий(все_категории());
}

std::optional<std::string> выбратькатегорию(const std::string& заголовок) {
  const std::vector<std::string> список = получитьсортировсписоккатегорий();
  std::string выбор;
  int номер = 0;
  if (dlg_ListSelect(заголовок, список, 0, выбор, номер) != 1) return std::nullopt;
  return выбор;
}

bool ввести_категорию() {
  const auto ответ = dlg_GetStr("Ввод категории литературы"_cps,
                                "Введите\n новую\n категорию литературы"_cps, std::string());
  if (!ответ || ответ->empty()) return false;
  // A category that is there already is not entered again, and nothing is said.
  return изменить(ВвестиКатегорию{*ответ});
}

bool редактировать_категорию() {
  const auto старая = выбратькатегорию("Выбор категории для редактирование"_cps);
  if (!старая) return false;
  const auto новая = dlg_GetStr("Редактирование"_cps, "Отредактируйте выделенную строку"_cps, *старая);
  if (!новая || *новая == *старая) return false;
  if (!спросить("Редактирование"_cps, "Сохранить\nкатегорию\n"_cps + *новая)) return false;
  // The books of the category follow it when the user says so, in the same step (one undo takes
  // both back); otherwise they keep the old name, as before.
  const std::size_t n = записей_в_категории(*старая);
  const bool с_записями =
      n > 0 && спросить("Редактирование"_cps, "Изменить категорию и у "_cps + std::to_string(n) + " записей?"_cps);
  return изменить(ИзменитьКатегорию{*старая, *новая, с_записями});
}

bool удалить_категорию() {
  const auto категория = выбратькатегорию("Удаление категории литературы"_cps);
  if (!категория) return false;
  // A category some books have: the question says how many keep it, no longer listed.
  std::string вопрос = "Удалить\nкатегорию\n"_cps + *категория;
  if (const std::size_t n = записей_в_категории(*категория))
    вопрос += "?\nЗаписей с этой категорией: "_cps + std::to_string(n) +
              ". Они сохранят её, но в списке категорий её не будет."_cps;
  if (!спросить("Удаление"_cps, вопрос)) return false;
  return изменить(УдалитьКатегорию{*категория});
}

// Each category with the number of its books: "Поэзия — 3 записи".
bool просмотреть_категории() {
  std::map<std::string, std::size_t> число;
  for (auto v : база_лит.views()) ++число[std::string(v[&ЗаписьБазы::категория])];
  std::vector<std::string> список = получитьсортировсписоккатегорий();
  for (std::string& к : список) к += " — "_cps + записей_словами(число[к]);
  std::string выбор;
  int номер = 0;
  return dlg_ListSelect("Просмотр списка категорий"_cps, список, 0, выбор, номер) == 1;
}
