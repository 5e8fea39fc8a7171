// Printing the catalogue and a record's card: which records, in which order, as which document,
// and what the user is told when the output cannot be written.
#include "app/catalogue_print.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "app/catalogue_folder.h"
#include "app/cover_window.h"
#include "app/list_window.h"
#include "app/record_card.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {

// The catalogue's name: the name of its folder, the working one.
std::string имя_каталога() {
  const std::string папка = std::filesystem::path(рабочая_папка()).filename().string();
  return показ_папки(папка.empty() ? рабочая_папка() : папка);
}

std::string сегодня() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[16];
  std::strftime(text, sizeof text, "%d.%m.%Y", &t);
  return text;
}

// The records of the given list lines, in their order: each line is the line of one record,
// found by the whole line, so records that share a code stay apart.
std::vector<ЗаписьБазы> записи_строк(const std::vector<std::string>& строки) {
  std::unordered_multimap<std::string, ЗаписьБазы> по_строке;
  ЗаписьБазы з;
  for (auto v : база_лит.views()) {
    v.read(з);
    if (auto строка = строка_списка(з)) по_строке.emplace(std::move(*строка), з);
  }
  std::vector<ЗаписьБазы> записи;
  записи.reserve(строки.size());
  for (const std::string& строка : строки)
    if (const auto it = по_строке.find(строка); it != по_строке.end()) {
      записи.push_back(std::move(it->second));
      по_строке.erase(it);
    }
  return записи;
}

// Every record the list shows, in the order the list window sorts their lines.
std::vector<ЗаписьБазы> весь_каталог() {
  std::vector<std::pair<std::string, ЗаписьБазы>> строки;
  ЗаписьБазы з;
  for (auto v : база_лит.views()) {
    v.read(з);
    if (auto строка = строка_списка(з)) строки.emplace_back(std::move(*строка), з);
  }
  std::stable_sort(строки.begin(), строки.end(),
                   [](const auto& a, const auto& b) { return lbox_Compare(a.first, b.first) < 0; });
  std::vector<ЗаписьБазы> записи;
  записи.reserve(строки.size());
  for (auto& [строка, запись] : строки) записи.push_back(std::move(запись));
  return записи;
}

// The records of a list window's lines, in the order it shows them.
std::vector<ЗаписьБазы> записи_окна_списка(Window list_window) {
  return записи_строк(lbox_GetAll(win_GetCtlHandle(list_window, ид_списка)));
}

bool окно_просмотра(Window win) {
  return win_GetType(win) == wk_TopLevel && win_GetHandler(win) == win_просмотрсписка_eh;
}

// Runs the output; an output that cannot be written is told to the user, and nothing else
// changes.
bool вывести(const std::string& заголовок, const std::function<bool()>& вывод) {
  try {
    return вывод();
  } catch (const RunError& e) {
    dlg_Error(заголовок, текст_отказа("Файл не записан"_cps, e));
    return false;
  }
}

}  // namespace

std::vector<ЗаписьБазы> записи_для_печати(Window from) {
  if (!окно_просмотра(from)) return весь_каталог();
  // The list box holds only the lines its find filter shows, so these are the records found.
  return записи_окна_списка(from);
}

PrintTable таблица_каталога(Window from, std::string_view progress_text) {
  auto записи = std::make_shared<std::vector<ЗаписьБазы>>(записи_для_печати(from));
  PrintTable t;
  t.title = "Каталог «"_cps + имя_каталога() + "»"_cps;
  t.date = сегодня();
  t.page_label = [](int page, int pages) {
    return "стр. "_cps + std::to_string(page) + " из "_cps + std::to_string(pages);
  };
  t.columns = {{"Код"_cps, 5, print_Right},       {"Автор"_cps, 18, print_Left}, {"Наименование"_cps, 27, print_Left},
               {"Категория"_cps, 13, print_Left}, {"Диск"_cps, 6, print_Left},   {"Переплёт"_cps, 9, print_Left},
               {"Обложка"_cps, 14, print_Left}};
  t.row_count = записи->size();
  t.row = [записи](std::size_t i, std::vector<std::string>& cells) {
    const ЗаписьБазы& з = (*записи)[i];
    cells = {std::to_string(з.код), з.автор, з.наименование, з.категория,
             наличиедиска(з.диск).value_or(std::string()), вид_переплета(з.переплет).value_or(std::string()),
             з.обложка};
  };
  t.progress_text = std::string(progress_text);
  return t;
}

bool напечатать_каталог(Window from) {
  const PrintTable t = таблица_каталога(from, "Каталог печатается…"_cps);
  return вывести("Печать каталога"_cps, [&t] { return print_ToPrinter(t); });
}

bool каталог_в_pdf(Window from) {
  std::vector<std::string> выбранные;
  const auto файл = dlg_GetFileName(имя_каталога() + ".pdf", {"PDF"_cps, "*.pdf"}, "Каталог в PDF"_cps, {1}, "",
                                    выбранные);
  if (!файл) return false;
  const PrintTable t = таблица_каталога(from, "Каталог записывается в PDF…"_cps);
  return вывести("Каталог в PDF"_cps, [&] { return print_ToPdf(t, *файл); });
}

bool напечатать_карточку(Window list_window) {
  const auto выбор = запомнить_выделение(list_window);
  if (!выбор || выбор->строки.size() != 1) return false;
  const auto записи = записи_строк(выбор->строки);
  if (записи.empty()) return false;
  const ЗаписьБазы& з = записи.front();
  PrintCards карточки;
  карточки.title = "Карточка: "_cps + з.автор + ", "_cps + з.наименование;
  // A cover that cannot be shown leaves the card's picture room empty.
  карточки.cards = {{строки_карточки(з), отказ_обложки(з.обложка) ? std::string() : з.обложка}};
  return вывести("Печать карточки"_cps, [&] { return print_Preview(карточки); });
}
