// The data-entry dialog and the data-saved note.
#include "app/data_entry.h"

#include "app/catalogue_changes.h"
#include "app/categories.h"
#include "app/cover_window.h"
#include "app/list_filter.h"
#include "app/session.h"
#include "app/window_help.h"
#include "core/book_details.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_work.h"
#include "core/list_line.h"
#include "core/list_ordering.h"
#include "core/similar_books.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

#include <chrono>

namespace {

constexpr int kИнтервалЗаметки = 500;

const std::vector<std::string>& да_нет() {
  static const std::vector<std::string> кнопки{"&Да"_cps, "&Нет"_cps};
  return кнопки;
}

Window элемент(Window dlg, int id) { return win_GetCtlHandle(dlg, id); }

// The text of a drop-down list's selected item; empty when nothing is selected.
std::string выбранный_текст(Window dlg, int id) {
  const Window список = элемент(dlg, id);
  const auto номер = lbox_GetSelIndex(список);
  return номер ? lbox_GetItem(список, *номер) : std::string();
}

std::vector<std::string> отсортированные_виды() {
  std::vector<std::string> виды;
  for (const std::string& в : виды_лит.facts()) виды.push_back(в);
  return sort(std::move(виды));
}

// Fills a drop-down list with `items` at positions 0, 1, 2 … and selects `selected` (a position
// past the last item leaves the list without selection).
void заполнить_список(Window dlg, int id, const std::vector<std::string>& items, int selected) {
  const Window список = элемент(dlg, id);
  lbox_Clear(список);
  for (std::size_t i = 0; i < items.size(); ++i) lbox_Add(список, static_cast<int>(i), items[i]);
  lbox_SetSel(список, selected, 1);
}

// Fills a list for editing a record whose value is `value`: when the value is not among the
// items (a renamed or deleted category, a kind missing from the kinds file) it is added to the
// list, so that OK keeps it unless the user chooses another.
void заполнить_для_правки(Window dlg, int id, std::vector<std::string> items, const std::string& value) {
  if (!входитвсписок(value, items)) items.push_back(value);
  заполнить_список(dlg, id, items, найтиномерэл_в_списке(items, value, 0));
}

// Fills a list again with `items`, keeping the item chosen in it (added when it is no longer
// among them, as an edited record's value is).
void заполнить_снова(Window dlg, int id, std::vector<std::string> items) {
  const std::string выбранный = выбранный_текст(dlg, id);
  if (выбранный.empty())
    заполнить_список(dlg, id, items, static_cast<int>(items.size()));
  else
    заполнить_для_правки(dlg, id, std::move(items), выбранный);
}

// Entry mode: the first category; the kind of the last record entered in this run while it is
// still a kind, else the first kind.
void открыть_для_ввода(Window dlg) {
  заполнить_список(dlg, ид_Категория, получитьсортировсписоккатегорий(), 0);
  const std::vector<std::string> виды = отсортированные_виды();
  const std::string& последний = сеанс().последний_вид;
  const int номер = последний.empty() ? 0 : найтиномерэл_в_списке(виды, последний, 0);
  заполнить_список(dlg, ид_Вид, виды, номер < static_cast<int>(виды.size()) ? номер : 0);
}

// The record of the one selected line: the first of its code.
std::optional<ЗаписьБазы> запись_выделенной_строки() {
  const auto выбор = выделенныеэлементыспискапросмотра.get();
  if (!выбор || выбор->строки.size() != 1) return std::nullopt;
  const auto код = код_строки(выбор->строки.front());
  if (!код) return std::nullopt;
  const auto записи = база_лит.по_коду(*код);
  if (записи.empty()) return std::nullopt;
  return записи.front();
}

// The field of each detail, in the order of ПолеСведений.
constexpr int kПоляСведений[] = {ид_Год, ид_Издательство, ид_Место, ид_ISBN, ид_Шифр, ид_Экземпляров, ид_Страниц, ид_Примечание};

int поле_сведения(ПолеСведений поле) { return kПоляСведений[static_cast<int>(поле)]; }

void показать_сведения(Window dlg, const СведенияКниги& сведения) {
  const ВведённыеСведения в = показ_сведений(сведения);
  const std::string* тексты[] = {&в.год, &в.издательство, &в.место, &в.isbn, &в.шифр, &в.экземпляров, &в.страниц, &в.примечание};
  for (std::size_t i = 0; i < std::size(kПоляСведений); ++i) установимтекстэлдиалога(dlg, kПоляСведений[i], *тексты[i]);
}

ВведённыеСведения прочитать_сведения(Window dlg) {
  ВведённыеСведения в;
  std::string* тексты[] = {&в.год, &в.издательство, &в.место, &в.isbn, &в.шифр, &в.экземпляров, &в.страниц, &в.примечание};
  for (std::size_t i = 0; i < std::size(kПоляСведений); ++i) *тексты[i] = прочитаемтекстэлдиалога(dlg, kПоляСведений[i]);
  return в;
}

int текущий_год() {
  const std::chrono::year_month_day сегодня{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  return static_cast<int>(сегодня.year());
}

// The details typed, checked; a refused one is told by its field's name, the focus put on it, and
// nothing is stored (nothing returned).
std::optional<СведенияКниги> проверенные_сведения(Window dlg) {
  auto итог = разобрать_сведения(прочитать_сведения(dlg), текущий_год());
  if (auto* с = std::get_if<СведенияКниги>(&итог)) return std::move(*с);
  const ОтказСведений& отказ = std::get<ОтказСведений>(итог);
  dlg_MessageBox("Сведения об издании"_cps, отказ.сообщение + "\nЗапись не сохранена."_cps, mb_Error, mb_Ok, 0,
                 mb_TaskModal);
  if (win_GetType(dlg) != wk_NotAWindow) win_SetFocus(элемент(dlg, поле_сведения(отказ.поле)));
  return std::nullopt;
}

// The record that edit mode edits, as it stood when the dialog opened.
const std::optional<ЗаписьБазы>& правимая_запись() { return сеанс().правимая_запись; }

void открыть_для_правки(Window dlg) {
  сеанс().правимая_запись = запись_выделенной_строки();
  if (сеанс().правимая_запись) сеанс().правимая_запись = с_сведениями(*сеанс().правимая_запись);
  const auto& запись = правимая_запись();
  if (!запись) return;
  const ЗаписьБазы& з = *запись;
  показать_сведения(dlg, *з.сведения);
  установимтекстэлдиалога(dlg, ид_Автор, з.автор);
  установимтекстэлдиалога(dlg, ид_Наименование, з.наименование);
  установимсостояниеэлдиалога(dlg, ид_Диск, з.диск);
  установимсостояниеэлдиалогапереплет(dlg, з.переплет);
  установимтекстэлдиалога(dlg, ид_ФайлОбложки, з.обложка);
  заполнить_для_правки(dlg, ид_Категория, получитьсортировсписоккатегорий(), з.категория);
  заполнить_для_правки(dlg, ид_Вид, отсортированные_виды(), з.вид);
  win_SetFocus(элемент(dlg, ид_Автор));
}

ЗаписьБазы прочитать_запись(Window dlg) {
  ЗаписьБазы з;
  з.автор = прочитаемтекстэлдиалога(dlg, ид_Автор);
  з.наименование = прочитаемтекстэлдиалога(dlg, ид_Наименование);
  з.категория = выбранный_текст(dlg, ид_Категория);
  з.вид = выбранный_текст(dlg, ид_Вид);
  з.обложка = прочитаемтекстэлдиалога(dlg, ид_ФайлОбложки);
  з.диск = прочитаемсостояниеэлдиалога(dlg, ид_Диск) == 1 ? 1 : 0;
  з.переплет = прочитаемсостояниеэлдиалога(dlg, ид_Твердый) == 1 ? 1 : 0;
  return з;
}

// A cover chosen in the dialog (the chooser takes only a file it can show) whose file went or can
// no longer be read before OK is refused with the reason, naming the file: the record is stored
// without a cover only when the user says so ("Без обложки", the field cleared), else not yet
// (false: "Отмена", the close box) — never with a name whose picture is not there. The cover an
// edited record had is kept as it is, shown or not.
bool решить_об_обложке(Window dlg, ЗаписьБазы& з, bool правка) {
  if (з.обложка.empty()) return true;
  if (правка)
    if (const auto прежняя = правимая_запись(); прежняя && прежняя->обложка == з.обложка) return true;
  const auto отказ = отказ_обложки(з.обложка);
  if (!отказ) return true;
  const int ответ = dlg_Ask(dlg, "Обложка"_cps,
                            *отказ + "\nЗапись с такой обложкой не сохраняется. Сохранить запись без обложки?"_cps,
                            {"Без обложки"_cps, "Отмена"_cps});
  if (ответ != 0) return false;
  з.обложка.clear();
  if (win_GetType(dlg) != wk_NotAWindow) установимтекстэлдиалога(dlg, ид_ФайлОбложки, std::string());
  return true;
}

// A similar book stored already (the same author and title, or ISBN): the user is asked whether to
// add one more record of it ("Да") or to go back to the dialog ("Нет", the close box). An edit
// asks only when it changes what makes the books similar. True: store the record.
bool добавить_похожую(Window dlg, const ЗаписьБазы& з, const std::optional<ЗаписьБазы>& правимая) {
  if (правимая && ключ_названия(правимая->автор, правимая->наименование) == ключ_названия(з.автор, з.наименование) &&
      сведения_записи(*правимая).isbn == сведения_записи(з).isbn)
    return true;
  const auto похожая = похожая_книга(з, правимая ? std::optional(правимая->код) : std::nullopt);
  if (!похожая) return true;
  return dlg_Ask(dlg, "Похожая книга"_cps,
                 "Такая книга уже есть: код "_cps + std::to_string(похожая->код) + ", «"_cps + похожая->наименование +
                     "». Добавить ещё одну запись?"_cps,
                 да_нет()) == 0;
}

// OK: the record stored unless it is a duplicate. In edit mode the new record and the removal
// of the old one are one change, saved once before the note, so a failure between them can
// never leave both records in the file. A file that cannot be written is told, nothing changes
// and the dialog stays for another try.
void нажат_ok(Window dlg) {
  ЗаписьБазы з = прочитать_запись(dlg);
  з.сведения = проверенные_сведения(dlg);
  if (!з.сведения) return;
  const bool правка = устрежимработысбазой(режим_редактирования);
  if (!решить_об_обложке(dlg, з, правка)) return;
  // The duplicate check sees what the other desks have stored until now.
  следить_за_каталогом();
  if (win_GetType(dlg) == wk_NotAWindow) return;
  std::vector<std::int32_t> такие = база_лит.по_содержанию(з);
  // An edit that changes the record's details alone is a change: the record itself is no duplicate.
  if (правка && правимая_запись() && з.сведения != правимая_запись()->сведения) std::erase(такие, правимая_запись()->код);
  if (!в_базенеттакойзаписи(такие)) return;
  if (!добавить_похожую(dlg, з, правка ? правимая_запись() : std::nullopt)) return;
  if (win_GetType(dlg) == wk_NotAWindow) return;
  std::optional<ВыбранныеСтроки> выбор;
  if (правка) выбор = выделенныеэлементыспискапросмотра.get();
  // The list window the record was chosen in shows the edit itself (it is filled again below).
  const bool сохранено = правка ? изменить(ИзменитьЗапись{правимая_запись(), з}, выбор ? win_GetParent(выбор->список) : 0)
                                : изменить(ВвестиЗапись{з});
  if (!сохранено) return;
  if (!правка) сеанс().последний_вид = з.вид;
  // The dialog can be gone once the save returns ("Выход" chosen while a notice of the save was
  // open) or once the note has closed: the record is saved all the same.
  const auto открыт = [dlg] { return win_GetType(dlg) != wk_NotAWindow; };
  if (открыт()) dlg_инфсохранена_Create(dlg);
  if (!правка) return;
  if (выбор && выбор->позиции.size() == 1) {
    const Window список = выбор->список;
    if (win_GetType(список) != wk_NotAWindow) {
      lbox_Delete(список, выбор->позиции.front());
      lbox_Clear(список);
      заполнитьсписок(список);
    }
  }
  if (открыт()) win_Destroy(dlg);
}

// The cover file chosen in the file dialog (a picture of any format the program reads, from any
// folder), taken into the catalogue's folder and stored as a bare name; false when cancelled, or
// when the file chosen is no picture or cannot be taken: the user is told why and the field keeps
// what it held.
bool выбратьфайл(Window dlg) {
  std::vector<std::string> выбранные;
  const std::string картинки = pict_FilePatterns();
  // The chooser starts in the folder last chosen from in this run, else in the user's Pictures.
  std::string& последняя = сеанс().папка_обложек;
  const std::string начало = последняя.empty() ? uix_GetUserFolder(uf_Pictures) : последняя;
  const auto путь = dlg_GetFileName(картинки, {"Картинки"_cps, картинки, "bmp", "*.bmp", "pre", "*.pre"},
                                    "Выберите файл с картинкой обложки"_cps, {}, начало, выбранные);
  if (!путь) return false;
  if (const std::size_t косая = путь->find_last_of('/'); косая != std::string::npos && косая > 0)
    последняя = путь->substr(0, косая);
  return взять_обложку(dlg, *путь);
}

// "ВидОбл": the cover file chosen (or kept), the buttons switched and the cover window opened.
void показать_обложку(Window dlg) {
  const std::string текущий = прочитаемтекстэлдиалога(dlg, ид_ФайлОбложки);
  if (текущий.empty()) {
    if (!выбратьфайл(dlg)) return;
  } else if (dlg_Ask(std::string(), "Выбрать новую обложку?"_cps, да_нет()) != 0 || !выбратьфайл(dlg)) {
    имяфайлаобложки.set(текущий);
  }
  win_SetState(элемент(dlg, ид_ВидОбл), {st_Disabled});
  win_SetState(элемент(dlg, ид_ОблЗакрыть), {st_Enabled});
  win_обложка_Create(uix_GetTaskWin());
}

void закрыть_обложку(Window dlg) {
  удалитьокнообложки();
  win_SetState(элемент(dlg, ид_ВидОбл), {st_Enabled});
  win_SetState(элемент(dlg, ид_ОблЗакрыть), {st_Disabled});
}

}  // namespace

void показать_изменения_в_диалоге(const Изменения& changes) {
  const Window dlg = сеанс().диалог_ввода;
  if (dlg == 0 || win_GetType(dlg) == wk_NotAWindow) return;
  if (changes.категории) заполнить_снова(dlg, ид_Категория, получитьсортировсписоккатегорий());
  if (changes.виды) заполнить_снова(dlg, ид_Вид, отсортированные_виды());
}

void dlg_ввод_данных_Create(Window parent) {
  using namespace dialog;
  const ТемаСправки тема(тема_ввод_данных);
  const FieldList поля{
      {ид_Автор, editstr{}, nopr{}},
      {ид_Наименование, editstr{}, nopr{}},
      {ид_Диск, checkbox{false}, nopr{}},
      {ид_Категория, listbutton{{}, 0}, nopr{}},
      {ид_Вид, listbutton{{}, 0}, nopr{}},
      {ид_ФайлОбложки, editstr{}, nopr{}},
      {ид_НадписьКатегория, statictext{"Категория"_cps}, nopr{}},
      {ид_РамкаПереплет, statictext{}, nopr{}},
      {ид_Твердый, radiobuttongroup{{ид_Твердый, ид_Мягкий}, ид_Твердый}, nopr{}},
  };
  const Result ответ = dialog_CreateModal(parent, диалог_ввод_данных, std::string(), поля, dlg_ввод_данных_eh, 0);
  dlg_ввод_данных_handle_answer(ответ.answer, ответ.values);
}

bool ввести_данные(Window parent) {
  устрежимработысбазой.set(режим_ввода);
  dlg_ввод_данных_Create(parent);
  return true;
}

std::optional<long> dlg_ввод_данных_eh(Window dlg, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    сеанс().диалог_ввода = dlg;
    win_AcceptFiles(dlg, true);  // a picture dropped on the dialog (its cover field) is its cover
    if (устрежимработысбазой(режим_ввода)) открыть_для_ввода(dlg);
    else if (устрежимработысбазой(режим_редактирования)) открыть_для_правки(dlg);
    return 0;
  }
  if (const auto* c = std::get_if<e_control>(&ev)) {
    switch (c->id) {
      case кнопка_OK:
        нажат_ok(dlg);
        return 0;
      case ид_ВидОбл:
        показать_обложку(dlg);
        return 0;
      case ид_ОблЗакрыть:
        закрыть_обложку(dlg);
        return 0;
      case ид_ВставитьОбложку:
        вставить_обложку(dlg);
        return 0;
      case кнопка_Help:  // F1
        справка_по_окну();
        return 0;
      default:
        return std::nullopt;
    }
  }
  if (const auto* сброс = std::get_if<e_dropfiles>(&ev)) {
    if (!сброс->files.empty()) взять_обложку(dlg, сброс->files.front());
    return 0;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    if (сеанс().диалог_ввода == dlg) {
      сеанс().диалог_ввода = 0;
      сеанс().правимая_запись.reset();
    }
    удалитьокнообложки();
    return std::nullopt;  // the dialog package still clears its own records of the dialog
  }
  return std::nullopt;
}

void dlg_ввод_данных_handle_answer(int answer, const dialog::ValueList& values) {
  if (answer != dialog::answer_ok) return;
  // The final values are read and not used further: the handler stores records itself.
  (void)dialog_VLGetstr(ид_Автор, values);
  (void)dialog_VLGetstr(ид_Наименование, values);
  (void)dialog_VLGetCheck(ид_Диск, values);
  (void)dialog_VLGetListButton(ид_Категория, values);
  (void)dialog_VLGetListButton(ид_Вид, values);
  (void)dialog_VLGetstr(ид_ФайлОбложки, values);
  (void)dialog_VLGetRadiobutton(ид_Твердый, values);
}

std::string прочитаемтекстэлдиалога(Window dlg, int id) { return win_GetText(элемент(dlg, id)); }
int прочитаемсостояниеэлдиалога(Window dlg, int id) { return win_IsChecked(элемент(dlg, id)); }
void установимтекстэлдиалога(Window dlg, int id, const std::string& text) { win_SetText(элемент(dlg, id), text); }
void установимсостояниеэлдиалога(Window dlg, int id, int state) { win_Check(элемент(dlg, id), state ? 1 : 0); }

bool установимсостояниеэлдиалогапереплет(Window dlg, std::int32_t binding) {
  if (binding != 0 && binding != 1) return false;
  установимсостояниеэлдиалога(dlg, ид_Мягкий, binding == 0);
  установимсостояниеэлдиалога(dlg, ид_Твердый, binding == 1);
  return true;
}

bool в_базенеттакойзаписи(const std::vector<std::int32_t>& codes) {
  if (codes.empty()) return true;
  dlg_MessageBox("Информация"_cps, "В базе уже\nесть такая запись!"_cps, mb_Information, mb_Ok, 0, mb_TaskModal);
  return false;
}

void dlg_инфсохранена_Create(Window parent) {
  dialog_CreateModal(parent, диалог_инфсохранена, std::string(), {}, dlg_инфсохранена_eh, 0);
}

std::optional<long> dlg_инфсохранена_eh(Window dlg, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    timer_Set(dlg, kИнтервалЗаметки);  // старттаймера
    счетчикпрерывтаймера.set(0);
    return 0;
  }
  if (const auto* t = std::get_if<e_timer>(&ev)) {
    const std::int32_t тики = счетчикпрерывтаймера.get() + 1;  // считаемсобытиятаймера
    счетчикпрерывтаймера.set(тики);
    if (тики >= 2) {  // analiz
      timer_Kill(t->id);
      win_Destroy(dlg);
    }
    return 0;
  }
  return std::nullopt;
}
