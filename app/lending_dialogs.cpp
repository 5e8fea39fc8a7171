// The lending dialogs (see lending_dialogs.h).
#include "app/lending_dialogs.h"

#include <algorithm>

#include "app/catalogue_changes.h"
#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/change_path.h"
#include "core/lending.h"
#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

ОкнаВыдачи& окна() { return сеанс().выдача; }

Window эл(Window dlg, int id) { return win_GetCtlHandle(dlg, id); }

std::string обрезать(std::string_view t) {
  const std::size_t a = t.find_first_not_of(" \t");
  if (a == std::string_view::npos) return std::string();
  return std::string(t.substr(a, t.find_last_not_of(" \t") - a + 1));
}

// The table's selected row, if any.
std::optional<std::size_t> выбранный_ряд(Window dlg, int id) {
  const auto i = lview_GetSel(эл(dlg, id));
  return i ? std::optional<std::size_t>(static_cast<std::size_t>(*i)) : std::nullopt;
}

// ---- Issue ----

std::string ячейка_книги(int row, int column) { return ячейка_найденной_книги(ряд_таблицы(окна().книги, row), column); }

std::string ячейка_читателя_выдачи(int row, int column) {
  const Читатель* ч = ряд_таблицы(окна().читатели_выдачи, row);
  if (!ч) return std::string();
  int на_руках = 0;
  if (column == 3)
    for (auto v : выдача_лит.views()) на_руках += v[&Выдача::код_читателя] == ч->код && v[&Выдача::возвращена].empty();
  return ячейка_читателя(*ч, column, на_руках);
}

// What the dialog says of the chosen book: its copies and who has them until when.
void показать_состояние_книги(Window dlg) {
  std::string t;
  if (const auto код = окна().книга) {
    const std::vector<Выдача> на_руках = выдачи_на_руках(*код);
    const int экземпляров = экземпляров_книги(*код);
    t = книга_в_начале(*код) + ": экземпляров "_cps + std::to_string(экземпляров) + ", на руках "_cps +
        std::to_string(на_руках.size());
    if (const auto занята = все_экземпляры_на_руках(*код))
      t += " — выдать нельзя: "_cps + *занята;
    else if (!на_руках.empty())
      t += " ("_cps + строка_на_руках(*код).substr(std::string("На руках: "_cp).size()) + ")"_cps;
  } else {
    t = о_найденных_книгах(окна().книги.size(), обрезать(win_GetText(эл(dlg, ид_КнигаВыдачи))).empty());
  }
  win_SetText(эл(dlg, ид_СостояниеКниги), t);
}

void выбрать_книгу(Window dlg, std::optional<std::size_t> i) {
  окна().книга = i && *i < окна().книги.size() ? std::optional(окна().книги[*i].код) : std::nullopt;
  показать_состояние_книги(dlg);
}

// The books the book field names now; one found is chosen at once (a scanner's code).
void найти_книги(Window dlg) {
  окна().книги = книги_по_запросу(win_GetText(эл(dlg, ид_КнигаВыдачи)), kКнигНеБольше);
  const Window т = эл(dlg, ид_КнигиВыдачи);
  lview_SetRowCount(т, static_cast<int>(окна().книги.size()));
  if (окна().книги.size() == 1) lview_SetSel(т, 0);
  выбрать_книгу(dlg, окна().книги.size() == 1 ? std::optional<std::size_t>(0) : std::nullopt);
}

// The readers the reader field names now; one found is chosen at once. `код`: the reader to
// choose among them (one just added).
void найти_читателей(Window dlg, std::optional<std::int32_t> код = std::nullopt) {
  окна().читатели_выдачи = читатели_по_запросу(win_GetText(эл(dlg, ид_ЧитательВыдачи)));
  const auto& найдено = окна().читатели_выдачи;
  const Window т = эл(dlg, ид_ЧитателиВыдачи);
  lview_SetRowCount(т, static_cast<int>(найдено.size()));
  std::optional<std::size_t> выбор;
  if (найдено.size() == 1) выбор = 0;
  for (std::size_t i = 0; код && i < найдено.size(); ++i)
    if (найдено[i].код == *код) выбор = i;
  окна().читатель = выбор ? std::optional(найдено[*выбор].код) : std::nullopt;
  if (выбор) {
    lview_SetSel(т, static_cast<int>(*выбор));
    lview_EnsureVisible(т, static_cast<int>(*выбор));
  }
}

void открыть_выдачу(Window dlg, std::int32_t книга) {
  окна().выдача = dlg;
  окна().книги.clear();
  окна().книга.reset();
  задать_колонки(эл(dlg, ид_КнигиВыдачи), колонки_найденных_книг());
  lview_SetSource(эл(dlg, ид_КнигиВыдачи), ячейка_книги);
  задать_колонки(эл(dlg, ид_ЧитателиВыдачи), колонки_читателей());
  lview_SetSource(эл(dlg, ид_ЧитателиВыдачи), ячейка_читателя_выдачи);
  win_SetText(эл(dlg, ид_СрокВозврата), показ_даты(текст_даты(сегодня() + std::chrono::days(срок_выдачи()))));
  найти_читателей(dlg);
  if (книга > 0) {
    win_SetText(эл(dlg, ид_КнигаВыдачи), std::to_string(книга));
    найти_книги(dlg);
    win_SetFocus(эл(dlg, ид_ЧитательВыдачи));
  } else {
    win_SetFocus(эл(dlg, ид_КнигаВыдачи));
  }
}

void сказать(const std::string& текст) { dlg_Error("Выдать книгу"_cps, текст); }

// OK: the loan checked and issued through the change path; false (the dialog stays) when it
// cannot be, the reason told and the focus on the field to mend.
bool выдать(Window dlg) {
  const auto& о = окна();
  if (!о.книга) {
    сказать(о.книги.empty() ? "Книга не выбрана: введите её код, ISBN или слова названия."_cps
                            : "Выберите книгу в списке найденных."_cps);
    if (win_GetType(dlg) != wk_NotAWindow) win_SetFocus(эл(dlg, ид_КнигаВыдачи));
    return false;
  }
  const std::int32_t книга = *о.книга;
  if (const auto занята = все_экземпляры_на_руках(книга)) {
    сказать("Книгу выдать нельзя: "_cps + *занята + "."_cps);
    return false;
  }
  if (!о.читатель) {
    сказать("Читатель не выбран: найдите его по ФИО или группе или добавьте кнопкой «Новый читатель…»."_cps);
    if (win_GetType(dlg) != wk_NotAWindow) win_SetFocus(эл(dlg, ид_ЧитательВыдачи));
    return false;
  }
  const std::int32_t читатель = *о.читатель;
  const День день = сегодня();
  const auto срок = срок_из_ввода(win_GetText(эл(dlg, ид_СрокВозврата)), день);
  if (const auto* почему = std::get_if<std::string>(&срок)) {
    сказать(*почему);
    if (win_GetType(dlg) != wk_NotAWindow) {
      win_SetFocus(эл(dlg, ид_СрокВозврата));
      win_SelectText(эл(dlg, ид_СрокВозврата), 0, -1);
    }
    return false;
  }
  return изменить(ВыдатьКнигу{{книга, читатель, текст_даты(день), текст_даты(std::get<День>(срок)), ""}});
}

// ---- Return ----

const std::vector<ListViewColumn>& колонки_возврата() {
  static const std::vector<ListViewColumn> к = {{"Читатель"_cps, 170, ca_Left, true},
                                                {"Группа"_cps, 70, ca_Left, true},
                                                {"Выдана"_cps, 80, ca_Left, true},
                                                {"Срок"_cps, 80, ca_Left, true},
                                                {"Просрочка, дн."_cps, 115, ca_Right, true}};
  return к;
}

std::string имя_читателя(std::int32_t код) {
  const auto ч = читатель_по_коду(код);
  return ч ? ч->фио : "читатель "_cps + std::to_string(код);
}

std::string ячейка_возврата(int row, int column) {
  const Выдача* в = ряд_таблицы(окна().выдачи_возврата, row);
  if (!в) return std::string();
  switch (column) {
    case 0: return имя_читателя(в->код_читателя);
    case 1: {
      const auto ч = читатель_по_коду(в->код_читателя);
      return ч ? ч->группа : std::string();
    }
    case 2: return показ_даты(в->выдана);
    case 3: return показ_даты(в->срок);
    default: {
      const int дней = дней_просрочки(*в, сегодня());
      return дней > 0 ? std::to_string(дней) : std::string();
    }
  }
}

// The code typed: digits (blanks around them allowed), nothing else.
std::optional<std::int32_t> код_книги(std::string_view текст) {
  const std::string t = обрезать(текст);
  if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoi(t);
}

// What the dialog says under the loans: the chosen loan's reader, dates and days overdue, or why
// nothing can be taken back.
void показать_о_возврате(Window dlg) {
  const std::string текст = обрезать(win_GetText(эл(dlg, ид_КодВозврата)));
  std::string t;
  const auto код = код_книги(текст);
  if (текст.empty()) {
    t = "Введите код книги или считайте его сканером."_cps;
  } else if (!код) {
    t = "«"_cps + текст + "» — не код книги: код состоит из цифр."_cps;
  } else if (база_лит.по_коду(*код).empty() && окна().выдачи_возврата.empty()) {
    t = "Книги с кодом "_cps + std::to_string(*код) + " в каталоге нет."_cps;
  } else if (окна().выдачи_возврата.empty()) {
    t = книга_в_начале(*код) + " не на руках: принимать нечего."_cps;
  } else if (const auto i = выбранный_ряд(dlg, ид_ВыдачиВозврата); !i) {
    t = "На руках экземпляров: "_cps + std::to_string(окна().выдачи_возврата.size()) + ". Выберите, чей принять."_cps;
  } else {
    const Выдача& в = окна().выдачи_возврата[*i];
    const auto ч = читатель_по_коду(в.код_читателя);
    t = книга_в_начале(в.код_книги) + "\nЧитатель: "_cps + имя_читателя(в.код_читателя) +
        (ч && !ч->группа.empty() ? ", "_cps + ч->группа : std::string()) + "\nВыдана "_cps + показ_даты(в.выдана) +
        ", срок "_cps + показ_даты(в.срок);
    const int дней = дней_просрочки(в, сегодня());
    t += дней > 0 ? ", просрочка "_cps + std::to_string(дней) + " дн."_cps : ", без просрочки"_cps;
  }
  win_SetText(эл(dlg, ид_ОВозврате), t);
}

void найти_выдачи(Window dlg) {
  const auto код = код_книги(win_GetText(эл(dlg, ид_КодВозврата)));
  окна().выдачи_возврата = код ? выдачи_на_руках(*код) : std::vector<Выдача>{};
  const Window т = эл(dlg, ид_ВыдачиВозврата);
  lview_SetRowCount(т, static_cast<int>(окна().выдачи_возврата.size()));
  if (!окна().выдачи_возврата.empty()) lview_SetSel(т, 0);
  показать_о_возврате(dlg);
}

void открыть_возврат(Window dlg, std::int32_t книга) {
  окна().возврат = dlg;
  окна().выдачи_возврата.clear();
  задать_колонки(эл(dlg, ид_ВыдачиВозврата), колонки_возврата(), {2, 3});
  lview_SetSource(эл(dlg, ид_ВыдачиВозврата), ячейка_возврата);
  if (книга > 0) win_SetText(эл(dlg, ид_КодВозврата), std::to_string(книга));
  найти_выдачи(dlg);
  win_SetFocus(эл(dlg, книга > 0 ? кнопка_OK : ид_КодВозврата));
}

}  // namespace

void задать_колонки(Window таблица, std::vector<ListViewColumn> колонки, std::initializer_list<int> колонки_дат) {
  const auto не_уже = [таблица](ListViewColumn& к, const std::string& текст) {
    int ширина = 0, высота = 0;
    win_GetTextExtent(таблица, текст, -1, ширина, высота);
    к.width = std::max(к.width, ширина + 16);  // the margins on both sides
  };
  for (ListViewColumn& к : колонки) не_уже(к, к.caption);
  for (const int i : колонки_дат)
    if (i >= 0 && static_cast<std::size_t>(i) < колонки.size()) не_уже(колонки[static_cast<std::size_t>(i)], "00.00.0000");
  lview_SetColumns(таблица, колонки);
}

std::string книга_в_начале(std::int32_t код) {
  return "Книга "_cps + название_книги(код).substr(std::string("книга "_cp).size());
}

std::string о_найденных_книгах(std::size_t найдено, bool запрос_пуст) {
  if (найдено >= kКнигНеБольше)
    return "Найдено больше "_cps + std::to_string(kКнигНеБольше) + " книг; показаны первые. Уточните запрос или выберите книгу в списке."_cps;
  if (найдено > 1) return "Найдено книг: "_cps + std::to_string(найдено) + ". Выберите книгу в списке."_cps;
  if (найдено == 0 && !запрос_пуст) return "Книга не найдена: нет книги с таким кодом, ISBN или словами."_cps;
  return std::string();
}

const std::vector<ListViewColumn>& колонки_найденных_книг() {
  static const std::vector<ListViewColumn> к = {{"Код"_cps, 50, ca_Right, true},
                                                {"Автор"_cps, 130, ca_Left, true},
                                                {"Наименование"_cps, 180, ca_Left, true},
                                                {"Экземпляров"_cps, 95, ca_Right, true},
                                                {"На руках"_cps, 70, ca_Right, true}};
  return к;
}

std::string ячейка_найденной_книги(const ЗаписьБазы* книга, int column) {
  if (!книга) return std::string();
  switch (column) {
    case 0: return std::to_string(книга->код);
    case 1: return книга->автор;
    case 2: return книга->наименование;
    case 3: return std::to_string(экземпляров_книги(книга->код));
    default: return std::to_string(выдачи_на_руках(книга->код).size());
  }
}

bool dlg_выдачи_Create(Window parent, std::optional<std::int32_t> книга) {
  const dialog::Result r = dialog_CreateModal(parent, диалог_выдачи, std::string(), {}, dlg_выдачи_eh, книга.value_or(0));
  return r.answer == dialog::answer_ok;
}

std::optional<long> dlg_выдачи_eh(Window dlg, const Event& ev) {
  if (const auto* c = std::get_if<e_create>(&ev)) {
    открыть_выдачу(dlg, c->creation_data);
    return std::nullopt;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    окна().выдача = 0;
    окна().книги.clear();
    окна().читатели_выдачи.clear();
    return std::nullopt;
  }
  if (событие_элемента<modified>(ev, ид_КнигаВыдачи)) {
    найти_книги(dlg);
    return 0;
  }
  if (событие_элемента<selchanged>(ev, ид_КнигиВыдачи)) {
    выбрать_книгу(dlg, выбранный_ряд(dlg, ид_КнигиВыдачи));
    return 0;
  }
  if (событие_элемента<modified>(ev, ид_ЧитательВыдачи)) {
    найти_читателей(dlg);
    return 0;
  }
  if (событие_элемента<selchanged>(ev, ид_ЧитателиВыдачи)) {
    const auto i = выбранный_ряд(dlg, ид_ЧитателиВыдачи);
    окна().читатель = i && *i < окна().читатели_выдачи.size() ? std::optional(окна().читатели_выдачи[*i].код) : std::nullopt;
    return 0;
  }
  if (событие_элемента<activated>(ev, ид_НовыйЧитатель)) {
    const auto ч = добавить_читателя(dlg, обрезать(win_GetText(эл(dlg, ид_ЧитательВыдачи))));
    if (!ч || win_GetType(dlg) == wk_NotAWindow) return 0;
    win_SetText(эл(dlg, ид_ЧитательВыдачи), ч->фио);
    найти_читателей(dlg, ч->код);
    win_SetFocus(эл(dlg, ид_СрокВозврата));
    return 0;
  }
  if (событие_элемента<activated>(ev, кнопка_OK)) {
    // Enter in the book field (a scanner ends a code with it) takes the book and goes on to the
    // reader; in the reader field it goes on to the date.
    const Window фокус = win_GetFocus();
    if (фокус == эл(dlg, ид_КнигаВыдачи)) {
      if (окна().книга) win_SetFocus(эл(dlg, ид_ЧитательВыдачи));
      return 0;
    }
    if (фокус == эл(dlg, ид_ЧитательВыдачи) && окна().читатель) {
      win_SetFocus(эл(dlg, ид_СрокВозврата));
      return 0;
    }
    if (!выдать(dlg)) return 0;
    return std::nullopt;  // issued: the package closes the dialog with OK
  }
  return std::nullopt;
}

bool dlg_возврата_Create(Window parent, std::optional<std::int32_t> книга) {
  const dialog::Result r = dialog_CreateModal(parent, диалог_возврата, std::string(), {}, dlg_возврата_eh, книга.value_or(0));
  return r.answer == dialog::answer_ok;
}

std::optional<long> dlg_возврата_eh(Window dlg, const Event& ev) {
  if (const auto* c = std::get_if<e_create>(&ev)) {
    открыть_возврат(dlg, c->creation_data);
    return std::nullopt;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    окна().возврат = 0;
    окна().выдачи_возврата.clear();
    return std::nullopt;
  }
  if (событие_элемента<modified>(ev, ид_КодВозврата)) {
    найти_выдачи(dlg);
    return 0;
  }
  if (событие_элемента<selchanged>(ev, ид_ВыдачиВозврата)) {
    показать_о_возврате(dlg);
    return 0;
  }
  if (событие_элемента<activated>(ev, кнопка_OK)) {
    // Enter after a scanned code shows the loan (done as it was typed) and waits for OK.
    const auto i = выбранный_ряд(dlg, ид_ВыдачиВозврата);
    if (win_GetFocus() == эл(dlg, ид_КодВозврата)) {
      if (i) win_SetFocus(эл(dlg, кнопка_OK));
      return 0;
    }
    if (!i || *i >= окна().выдачи_возврата.size()) return 0;  // the dialog says why
    const Выдача в = окна().выдачи_возврата[*i];
    if (!изменить(ПринятьКнигу{в, текст_даты(сегодня())})) {
      if (win_GetType(dlg) != wk_NotAWindow) найти_выдачи(dlg);
      return 0;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

const std::vector<ListViewColumn>& колонки_читателей() {
  static const std::vector<ListViewColumn> к = {{"ФИО"_cps, 180, ca_Left, true},
                                                {"Группа"_cps, 80, ca_Left, true},
                                                {"Телефон"_cps, 100, ca_Left, true},
                                                {"На руках"_cps, 70, ca_Right, true}};
  return к;
}

std::string ячейка_читателя(const Читатель& ч, int column, int на_руках) {
  switch (column) {
    case 0: return ч.фио;
    case 1: return ч.группа;
    case 2: return ч.телефон;
    default: return std::to_string(на_руках);
  }
}

std::optional<Читатель> dlg_читателя_Create(Window parent, const std::string& заголовок, const Читатель& ч) {
  using namespace dialog;
  const FieldList поля{
      {ид_ФИО, editstr{ч.фио, {mandatory{}}}, dlg_prompt{ид_НадписьФИО}},
      {ид_Группа, editstr{ч.группа, {}}, nopr{}},
      {ид_Телефон, editstr{ч.телефон, {}}, nopr{}},
      {ид_ПримечаниеЧитателя, editstr{ч.примечание, {}}, nopr{}},
  };
  const Result r = dialog_CreateModal(parent, диалог_читатель, заголовок, поля, nullptr, 0);
  if (r.answer != answer_ok) return std::nullopt;
  Читатель новый = ч;
  новый.фио = обрезать(dialog_VLGetstr(ид_ФИО, r.values));
  новый.группа = обрезать(dialog_VLGetstr(ид_Группа, r.values));
  новый.телефон = обрезать(dialog_VLGetstr(ид_Телефон, r.values));
  новый.примечание = обрезать(dialog_VLGetstr(ид_ПримечаниеЧитателя, r.values));
  if (новый.фио.empty()) return std::nullopt;
  return новый;
}

std::optional<Читатель> добавить_читателя(Window parent, const std::string& фио) {
  Читатель ч;
  ч.фио = фио;
  const auto новый = dlg_читателя_Create(parent, "Новый читатель"_cps, ч);
  if (!новый || !изменить(ВвестиЧитателя{*новый})) return std::nullopt;
  return читатель_по_коду(*наибольший_код_читателя.get());
}
