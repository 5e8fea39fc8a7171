// Printing the catalogue and a record's card: which records, in which order, as which document,
// and what the user is told when the output cannot be written.
#include "app/catalogue_print.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/cover_window.h"
#include "app/first_start.h"
#include "app/list_selection.h"
#include "app/list_table.h"
#include "app/session.h"
#include "app/toolbars.h"
#include "core/card_text.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "core/lending.h"
#include "core/list_line.h"
#include "core/printed_table.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {


// The records of a list window's lines, in the order it shows them (its table's, when shown).
std::vector<ЗаписьБазы> записи_окна_списка(Window list_window) {
  if (auto строки = строки_таблицы(list_window)) return записи_строк(*строки);
  return записи_строк(lbox_GetAll(win_GetCtlHandle(list_window, ид_списка)));
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
  if (!окно_списка(from)) return записи_в_порядке_списка();
  // The list box holds only the lines its find filter shows, so these are the records found.
  return записи_окна_списка(from);
}

PrintTable таблица_каталога(Window from, std::string_view progress_text) {
  auto записи = std::make_shared<std::vector<ЗаписьБазы>>(записи_для_печати(from));
  PrintTable t;
  t.title = "Каталог «"_cps + имя_каталога(рабочая_папка()) + "»"_cps;
  t.date = сегодня("%d.%m.%Y");
  t.page_label = [](int page, int pages) {
    return "стр. "_cps + std::to_string(page) + " из "_cps + std::to_string(pages);
  };
  const auto колонка = [](const КолонкаПечатнойТаблицы& к, std::string min_text = {}) {
    return PrintColumn{к.название, к.ширина, к.выравнивание == Выравнивание::вправо ? print_Right : print_Left,
                       std::move(min_text)};
  };
  t.row_count = записи->size();
  if (окно_списка(from)) {
    // A list window prints the columns its table view shows, the details and who has the book
    // among them; the longest word of each column's cells whole.
    auto колонки = std::make_shared<std::vector<КолонкаПечатиСписка>>(колонки_печати_списка(выбранные_колонки(from)));
    auto на_руках = std::make_shared<std::unordered_map<std::int32_t, std::string>>();
    if (std::any_of(колонки->begin(), колонки->end(), [](const auto& к) { return !к.поле; }))
      *на_руках = кто_на_руках_по_книгам();
    слова_колонок(*колонки, *записи, *на_руках);
    for (const КолонкаПечатиСписка& к : *колонки) t.columns.push_back(колонка(к.печать, к.неразрывно));
    t.row = [записи, колонки, на_руках](std::size_t i, std::vector<std::string>& cells) {
      ячейки_печати_списка((*записи)[i], *колонки, *на_руках, cells);
    };
  } else {
    for (const КолонкаПечатнойТаблицы& к : колонки_печати()) t.columns.push_back(колонка(к));
    t.row = [записи](std::size_t i, std::vector<std::string>& cells) { ячейки_печати((*записи)[i], cells); };
  }
  t.progress_text = std::string(progress_text);
  return t;
}

bool напечатать_каталог(Window from) {
  const PrintTable t = таблица_каталога(from, "Каталог печатается…"_cps);
  return вывести("Печать каталога"_cps, [&t] { return print_ToPrinter(t); });
}

bool каталог_в_pdf(Window from) {
  std::vector<std::string> выбранные;
  const auto файл = dlg_GetFileName(имя_каталога(рабочая_папка()) + ".pdf", {"PDF"_cps, "*.pdf"}, "Каталог в PDF"_cps, {1},
                                    папка_для_документов(), выбранные);
  if (!файл) return false;
  запомнить_папку_документов(*файл);
  const PrintTable t = таблица_каталога(from, "Каталог записывается в PDF…"_cps);
  if (!вывести("Каталог в PDF"_cps, [&] { return print_ToPdf(t, *файл); })) return false;
  показать_в_строке_подсказки("Записано "_cps + записей_словами(t.row_count) + " в «"_cps + имя_файла(*файл) + "»"_cps);
  return true;
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
  // The printed card names its record's code first, as a library card does (the card file keeps
  // its own lines).
  std::vector<std::string> строки = строки_карточки(з);
  строки.insert(строки.begin(), "Код:\t\t\t"_cps + std::to_string(з.код) + " ");
  карточки.cards = {{std::move(строки), отказ_обложки(з.обложка) ? std::string() : з.обложка}};
  return вывести("Печать карточки"_cps, [&] { return print_Preview(карточки); });
}
