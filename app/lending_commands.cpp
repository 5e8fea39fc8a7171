// The commands of "Выдача" through the standard prompts: the book and the reader chosen, the
// dates asked with today's defaults, the change applied through the change path; the overdue list
// shown, printed, written as PDF or CSV.
#include "app/lending_commands.h"

#include <algorithm>

#include "app/catalogue_changes.h"
#include "app/list_selection.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_statistics.h"
#include "core/catalogue_work.h"
#include "core/lending.h"
#include "core/list_line.h"
#include "core/list_search.h"
#include "layer/chart.h"
#include "layer/layer.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace {

constexpr std::size_t kПоказаноСтрок = 25;  // lines of a list a box shows; the rest is counted

std::string без_пробелов_по_краям(std::string_view t) {
  const std::size_t a = t.find_first_not_of(" \t");
  if (a == std::string_view::npos) return std::string();
  return std::string(t.substr(a, t.find_last_not_of(" \t") - a + 1));
}

bool число(std::string_view t) {
  return !t.empty() && t.size() < 10 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The book of a list window's one selected line.
std::optional<ЗаписьБазы> книга_окна(Window окно) {
  if (!окно_списка(окно)) return std::nullopt;
  const auto выбор = запомнить_выделение(окно);
  if (!выбор || выбор->строки.size() != 1) return std::nullopt;
  const std::vector<ЗаписьБазы> записи = записи_строк(выбор->строки);
  return записи.empty() ? std::nullopt : std::optional<ЗаписьБазы>(записи.front());
}

// The book the user names: its code (a scanner types it and Enter) or words of the fields the
// find field searches; several found are offered in a list.
std::optional<ЗаписьБазы> выбрать_книгу(const std::string& заголовок) {
  const auto ответ = dlg_GetStr(заголовок, "Книга: код (сканер штрихкода) или слова автора и названия"_cps, "");
  if (!ответ) return std::nullopt;
  const std::string текст = без_пробелов_по_краям(*ответ);
  if (текст.empty()) return std::nullopt;
  if (число(текст)) {
    const auto записи = база_лит.по_коду(std::stoi(текст));
    if (!записи.empty()) return записи.front();
  }
  const std::vector<std::string> слова = слова_поиска(текст);
  std::vector<ЗаписьБазы> найдено;
  std::vector<std::string> строки;
  for (const ЗаписьБазы& з : записи_в_порядке_списка()) {
    if (!подходит(форма_поиска(з), слова)) continue;
    const auto строка = строка_списка(з);
    if (!строка) continue;
    найдено.push_back(з);
    строки.push_back(*строка);
  }
  if (найдено.empty()) {
    dlg_Error(заголовок, "Книга «"_cps + текст + "» не найдена: нет книги с таким кодом или словами."_cps);
    return std::nullopt;
  }
  if (найдено.size() == 1) return найдено.front();
  std::string выбор;
  int номер = 0;
  if (dlg_ListSelect(заголовок, строки, 0, выбор, номер) != 1 || номер < 0) return std::nullopt;
  return найдено[static_cast<std::size_t>(номер)];
}

// A reader's card asked field by field, starting from `ч`; nothing when cancelled or the name is
// left empty.
std::optional<Читатель> спросить_карточку(const std::string& заголовок, Читатель ч) {
  struct Поле {
    std::string_view подпись;
    std::string Читатель::*поле;
  };
  for (const Поле& п : {Поле{"ФИО:"_cp, &Читатель::фио}, Поле{"Группа (класс, отдел):"_cp, &Читатель::группа},
                        Поле{"Телефон:"_cp, &Читатель::телефон}, Поле{"Примечание:"_cp, &Читатель::примечание}}) {
    const auto ответ = dlg_GetStr(заголовок, std::string(п.подпись), ч.*п.поле);
    if (!ответ) return std::nullopt;
    ч.*п.поле = без_пробелов_по_краям(*ответ);
  }
  if (ч.фио.empty()) return std::nullopt;
  return ч;
}

// A new reader entered through the change path; the reader as entered, with its code.
std::optional<Читатель> новый_читатель() {
  const auto ч = спросить_карточку("Новый читатель"_cps, {});
  if (!ч || !изменить(ВвестиЧитателя{*ч})) return std::nullopt;
  return читатель_по_коду(*наибольший_код_читателя.get());
}

std::string строка_читателя(const Читатель& ч) {
  std::string t = ч.фио;
  if (!ч.группа.empty()) t += ", "_cps + ч.группа;
  return t + " ["_cps + std::to_string(ч.код) + "]"_cps;
}

const std::string& пункт_нового() {
  static const std::string пункт = "<новый читатель…>"_cps;
  return пункт;
}

// The readers whose name or group holds every word of `текст`, by name.
std::vector<Читатель> найти_читателей(std::string_view текст) {
  const std::vector<std::string> слова = слова_поиска(текст);
  std::vector<Читатель> out;
  for (const Читатель& ч : читатель_лит.facts())
    if (подходит(CONV_SearchForm(ч.фио) + "\n" + CONV_SearchForm(ч.группа), слова)) out.push_back(ч);
  std::stable_sort(out.begin(), out.end(), [](const Читатель& a, const Читатель& b) { return a.фио < b.фио; });
  return out;
}

// The reader chosen: found by name or group (the first entry adds a new reader in place).
std::optional<Читатель> выбрать_читателя(const std::string& заголовок, bool можно_добавить) {
  const auto ответ = dlg_GetStr(заголовок, "Читатель: слова фамилии, имени или группы (пусто — все)"_cps, "");
  if (!ответ) return std::nullopt;
  const std::vector<Читатель> найдено = найти_читателей(*ответ);
  std::vector<std::string> строки;
  if (можно_добавить) строки.push_back(пункт_нового());
  for (const Читатель& ч : найдено) строки.push_back(строка_читателя(ч));
  if (строки.empty()) {
    dlg_Error(заголовок, "Читатель не найден."_cps);
    return std::nullopt;
  }
  std::string выбор;
  int номер = 0;
  if (dlg_ListSelect(заголовок, строки, можно_добавить && !найдено.empty() ? 1 : 0, выбор, номер) != 1 || номер < 0)
    return std::nullopt;
  if (можно_добавить && номер == 0) return новый_читатель();
  return найдено[static_cast<std::size_t>(номер - (можно_добавить ? 1 : 0))];
}

// A date typed as "ДД.ММ.ГГГГ" or "ГГГГ-ММ-ДД".
std::optional<День> дата_ввода(std::string_view t) {
  const std::string s = без_пробелов_по_краям(t);
  if (s.size() == 10 && s[2] == '.' && s[5] == '.')
    return дата_из_текста(s.substr(6, 4) + "-" + s.substr(3, 2) + "-" + s.substr(0, 2));
  return дата_из_текста(s);
}

std::string о_выдаче(const Выдача& в, День день) {
  const auto ч = читатель_по_коду(в.код_читателя);
  std::string t = (ч ? ч->фио : "читатель "_cps + std::to_string(в.код_читателя)) + ": выдана "_cps +
                  показ_даты(в.выдана) + ", срок "_cps + показ_даты(в.срок);
  if (!в.на_руках()) t += ", возвращена "_cps + показ_даты(в.возвращена);
  if (const int дней = дней_просрочки(в, день); дней > 0) t += ", просрочка "_cps + std::to_string(дней) + " дн."_cps;
  return t;
}

bool спросить_да(const std::string& заголовок, const std::string& вопрос, std::string_view да) {
  return dlg_Ask(uix_GetTaskWin(), заголовок, вопрос, {std::string(да), "Отмена"_cps}) == 0;
}

// The overdue list as the printed and PDF table.
PrintTable таблица_должников(const std::vector<Долг>& долги) {
  PrintTable t;
  t.title = "Должники"_cps;
  t.date = показ_даты(текст_даты(сегодня()));
  t.page_label = [](int page, int pages) { return "стр. "_cps + std::to_string(page) + " из "_cps + std::to_string(pages); };
  const int доли[] = {1, 4, 2, 3, 1, 4, 5, 2};
  for (std::size_t i = 0; i < колонки_должников().size(); ++i)
    t.columns.push_back({колонки_должников()[i], доли[i], i == 0 || i == 4 ? print_Right : print_Left});
  t.row_count = долги.size();
  t.row = [долги](std::size_t i, std::vector<std::string>& cells) { cells = ячейки_долга(долги[i]); };
  t.progress_text = "Список должников готовится…"_cps;
  return t;
}

// Writes the overdue list where the user chooses: a PDF or, by its name's ending, a CSV table; an
// output that cannot be written is told.
bool вывести_должников(const std::vector<Долг>& долги) {
  std::vector<std::string> выбранные;
  const auto файл = dlg_GetFileName("Должники.pdf"_cps, {"PDF"_cps, "*.pdf", "CSV"_cps, "*.csv"}, "Должники"_cps, {1}, "",
                                    выбранные);
  if (!файл) return false;
  const bool csv = файл->size() >= 4 && CONV_SearchForm(файл->substr(файл->size() - 4)) == CONV_SearchForm(".csv");
  try {
    if (!csv) return print_ToPdf(таблица_должников(долги), *файл);
    RUN_ReplaceFile(*файл, csv_должников(долги));
    return true;
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    dlg_Error("Должники"_cps, текст_отказа("Файл не записан"_cps, e));
    return false;
  }
}

}  // namespace

bool выдать_книгу(Window окно) {
  const std::string заголовок = "Выдать книгу"_cps;
  std::optional<ЗаписьБазы> книга = книга_окна(окно);
  if (!книга) книга = выбрать_книгу(заголовок);
  if (!книга) return false;
  if (const auto занята = все_экземпляры_на_руках(книга->код)) {
    dlg_Error(заголовок, "Книгу выдать нельзя: "_cps + *занята + "."_cps);
    return false;
  }
  const auto читатель = выбрать_читателя(заголовок + ": "_cps + книга->наименование, true);
  if (!читатель) return false;
  const День день = сегодня();
  std::optional<День> срок;
  std::string предложено = показ_даты(текст_даты(день + std::chrono::days(срок_выдачи())));
  while (!срок) {
    const auto ответ = dlg_GetStr(заголовок, "Вернуть до (ДД.ММ.ГГГГ):"_cps, предложено);
    if (!ответ) return false;
    срок = дата_ввода(*ответ);
    if (!срок || *срок < день) {
      dlg_Error(заголовок, "«"_cps + *ответ + "» — не дата не раньше сегодняшней. Введите, например, "_cps + предложено + "."_cps);
      срок.reset();
    }
  }
  return изменить(ВыдатьКнигу{{книга->код, читатель->код, текст_даты(день), текст_даты(*срок), ""}});
}

bool принять_книгу(Window окно) {
  const std::string заголовок = "Принять книгу"_cps;
  std::optional<std::int32_t> код;
  if (const auto книга = книга_окна(окно)) код = книга->код;
  if (!код) {
    const auto ответ = dlg_GetStr(заголовок, "Код книги (сканер штрихкода):"_cps, "");
    if (!ответ) return false;
    const std::string текст = без_пробелов_по_краям(*ответ);
    if (!число(текст)) {
      dlg_Error(заголовок, "«"_cps + текст + "» — не код книги."_cps);
      return false;
    }
    код = std::stoi(текст);
  }
  const std::vector<Выдача> на_руках = выдачи_на_руках(*код);
  if (на_руках.empty()) {
    dlg_Error(заголовок, "Книга "_cps + название_книги(*код).substr(6) + " не на руках."_cps);
    return false;
  }
  std::size_t номер = 0;
  const День день = сегодня();
  if (на_руках.size() > 1) {
    std::vector<std::string> строки;
    for (const Выдача& в : на_руках) строки.push_back(о_выдаче(в, день));
    std::string выбор;
    int н = 0;
    if (dlg_ListSelect(заголовок, строки, 0, выбор, н) != 1 || н < 0) return false;
    номер = static_cast<std::size_t>(н);
  }
  const Выдача& в = на_руках[номер];
  const std::string вопрос = "Принять "_cps + название_книги(*код) + "?\n"_cps + о_выдаче(в, день);
  if (!спросить_да(заголовок, вопрос, "&Принять"_cp)) return false;
  return изменить(ПринятьКнигу{в, текст_даты(день)});
}

bool показать_читателей() {
  const std::string заголовок = "Читатели"_cps;
  const auto ч = выбрать_читателя(заголовок, true);
  if (!ч) return false;
  const День день = сегодня();
  std::string на_руках, история;
  for (const Выдача& в : выдачи_читателя(ч->код)) {
    const std::string строка = "\n"_cps + название_книги(в.код_книги) + ": выдана "_cps + показ_даты(в.выдана) +
                               ", срок "_cps + показ_даты(в.срок) +
                               (в.на_руках() ? std::string() : ", возвращена "_cps + показ_даты(в.возвращена)) +
                               (дней_просрочки(в, день) > 0
                                    ? ", просрочка "_cps + std::to_string(дней_просрочки(в, день)) + " дн."_cps
                                    : std::string());
    (в.на_руках() ? на_руках : история) += строка;
  }
  const std::string текст = ч->фио + "\nГруппа: "_cps + ч->группа + "\nТелефон: "_cps + ч->телефон +
                            "\nПримечание: "_cps + ч->примечание + "\n\nНа руках:"_cps +
                            (на_руках.empty() ? " нет"_cps : на_руках) + "\n\nИстория:"_cps +
                            (история.empty() ? " нет"_cps : история);
  const int ответ = dlg_Ask(uix_GetTaskWin(), заголовок, текст, {"&Изменить"_cps, "&Удалить"_cps, "&Закрыть"_cps});
  if (ответ == 0) {
    const auto новый = спросить_карточку(заголовок, *ч);
    return новый && изменить(ИзменитьЧитателя{*ч, *новый});
  }
  if (ответ == 1) {
    if (!спросить_да(заголовок, "Удалить читателя «"_cps + ч->фио + "»?"_cps, "&Да"_cp)) return false;
    return изменить(УдалитьЧитателя{*ч});
  }
  return true;
}

bool показать_должников() {
  const std::vector<Долг> долги = должники(сегодня());
  const std::string заголовок = "Должники"_cps;
  if (долги.empty()) {
    dlg_Note(заголовок, "Просроченных выдач нет."_cps);
    return true;
  }
  std::string текст = "Просрочено выдач: "_cps + std::to_string(долги.size()) + "\n"_cps;
  for (std::size_t i = 0; i < долги.size() && i < kПоказаноСтрок; ++i) {
    const std::vector<std::string> я = ячейки_долга(долги[i]);
    текст += "\n"_cps + я[0] + " дн. — "_cps + я[1] + (я[2].empty() ? "" : ", "_cps + я[2]) +
             (я[3].empty() ? "" : ", "_cps + я[3]) + " — "_cps + я[4] + " "_cps + я[5] + " «"_cps + я[6] + "», срок "_cps + я[7];
  }
  if (долги.size() > kПоказаноСтрок) текст += "\n… и ещё "_cps + std::to_string(долги.size() - kПоказаноСтрок);
  const int ответ = dlg_Ask(uix_GetTaskWin(), заголовок, текст, {"&Печать…"_cps, "&В файл…"_cps, "&Закрыть"_cps});
  if (ответ == 0) return print_ToPrinter(таблица_должников(долги));
  if (ответ == 1) return вывести_должников(долги);
  return true;
}

bool показать_историю_выдач() {
  const std::string заголовок = "История выдач"_cps;
  const auto книга = выбрать_книгу(заголовок);
  if (!книга) return false;
  const День день = сегодня();
  std::string текст = название_книги(книга->код);
  const std::vector<Выдача> выдачи = выдачи_книги(книга->код);
  if (выдачи.empty()) текст += "\nне выдавалась"_cps;
  for (const Выдача& в : выдачи) текст += "\n"_cps + о_выдаче(в, день);
  dlg_Note(заголовок, текст);
  return true;
}

bool показать_статистику() {
  const СтатистикаКаталога с = статистика_каталога(сегодня());
  std::vector<ChartPanel> панели;
  const auto панель = [&панели](std::string название, const std::vector<СтолбецСтатистики>& столбцы) {
    ChartPanel п{std::move(название), {}};
    for (const СтолбецСтатистики& ст : столбцы) п.bars.push_back({ст.подпись, static_cast<double>(ст.число)});
    панели.push_back(std::move(п));
  };
  панель("Книги по категориям"_cps, с.по_категориям);
  панель("Книги по видам"_cps, с.по_видам);
  панель("Книги по десятилетиям издания"_cps, с.по_десятилетиям);
  панель("На руках и на полке"_cps, с.наличие);
  панель("Выдачи по месяцам"_cps, с.по_месяцам);
  панель("Десять книг, выданных чаще всего"_cps, с.книги_чаще);
  панель("Десять читателей, бравших больше всего"_cps, с.читатели_чаще);
  chart_Show("Статистика"_cps, панели);
  return true;
}

bool задать_срок_выдачи() {
  const std::string заголовок = "Срок выдачи"_cps;
  const auto ответ = dlg_GetStr(заголовок, "Срок выдачи, дней:"_cps, std::to_string(срок_выдачи()));
  if (!ответ) return false;
  const std::string текст = без_пробелов_по_краям(*ответ);
  if (!число(текст) || std::stoi(текст) < 1 || std::stoi(текст) > 3650) {
    dlg_Error(заголовок, "Срок выдачи — число дней от 1 до 3650."_cps);
    return false;
  }
  if (std::stoi(текст) == срок_выдачи()) return true;
  return изменить(ЗадатьСрокВыдачи{std::stoi(текст)});
}

void сообщить_о_должниках(Window task) {
  const std::size_t просрочено = число_просроченных(сегодня());
  if (просрочено == 0) return;
  toolbar_SetValue(task, id_строкиподсказки,
                   text_value{"Просрочено выдач: "_cps + std::to_string(просрочено) + " (Выдача / Должники)"_cps});
}
