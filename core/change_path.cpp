// The change path (see change_path.h): each operation is a change under way (Правка) that makes
// its changes in memory, each with the way back, names the sections it touches, and is then
// saved whole or taken back whole.
#include "core/change_path.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/book_details.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "core/lending.h"
#include "core/other_desks.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/run_error.h"
#include "runtime/scope_exit.h"

namespace {

constexpr std::size_t kЗаписейМеждуОтчётами = 1024;

std::string кавычки(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

// The message of a change refused by a storage that keeps no files (a server): `что` was not done,
// why and what to do in the storage's words, `после` between them. Nothing for the folder's files,
// whose messages name the file that was not written.
std::optional<std::string> отказ_без_файла(const ИтогИзменения& итог, std::string_view что, std::string_view после) {
  const auto отказ = хранилище_каталога().отказ_сохранения(итог.код_ошибки);
  if (!отказ) return std::nullopt;
  return std::string(что) + ": "_cps + отказ->почему + "."_cps + std::string(после) + "\n"_cps + отказ->совет;
}

// The fact at position `место` taken out of the table.
template <class T>
T изъять_на_месте(FactKind<T>& table, std::size_t место) {
  return std::move(изъять(table, [&, i = std::size_t(0)](const T&) mutable { return i++ == место; })->first);
}

// The position of the first (or, `с_конца`, the last) fact equal to `value`.
template <class T>
std::optional<std::size_t> место_значения(const FactKind<T>& table, const T& value, bool с_конца = false) {
  std::optional<std::size_t> found;
  std::size_t i = 0;
  for (const T& fact : table.facts()) {
    if (fact == value) {
      found = i;
      if (!с_конца) break;
    }
    ++i;
  }
  return found;
}

// The sections a record's fields are kept in (the field table names their tables). The details
// are apart: a change touches their section only when it changes a book's details (задать_сведения).
std::vector<const РазделКаталога*> разделы_записей() {
  std::vector<const РазделКаталога*> разделы;
  for (const ПолеКниги& п : поля_книги()) {
    const РазделКаталога* р = п.таблица.empty() ? nullptr : раздел_таблицы(п.таблица);
    if (р && р->секция == &секция_сведений) continue;
    if (р && std::find(разделы.begin(), разделы.end(), р) == разделы.end()) разделы.push_back(р);
  }
  return разделы;
}

// A change under way: its changes in memory with the way back from each, the sections to save,
// what the subscribers will hear.
class Правка {
 public:
  explicit Правка(ИсточникИзменения источник) { изменения.источник = источник; }

  void затронуть(const FactSection& section) {
    const РазделКаталога* р = раздел_секции(section);
    if (р && std::find(разделы_.begin(), разделы_.end(), р) == разделы_.end()) разделы_.push_back(р);
  }
  // The sections of the records' fields, and the highest code given, which a new record raises
  // and which a deletion must find saved.
  void затронуть_записи() {
    for (const РазделКаталога* р : разделы_записей()) затронуть(*р->секция);
    затронуть(секция_кодов_каталога);
  }
  // The way back from a change just made in memory.
  void назад(std::function<void()> шаг) { откаты_.push_back(std::move(шаг)); }

  // A fact put in at `место` (past the end: last); the place it got.
  template <class T>
  std::size_t вставить(FactKind<T>& table, std::size_t место, const T& value) {
    место = std::min(место, table.count());
    table.insert_at(место, value);
    назад([&table, место] { изъять_на_месте(table, место); });
    return место;
  }
  // The fact at `место` taken out.
  template <class T>
  T убрать(FactKind<T>& table, std::size_t место) {
    T value = изъять_на_месте(table, место);
    назад([&table, место, value] { table.insert_at(место, value); });
    return value;
  }

  // Saves every section touched. When the host refuses one, takes every change back (unless
  // `в_памяти`: the change stays in memory for the run), saves again the sections saved before
  // it, and sets `итог` to say which file and why; false then. An error of the program itself,
  // not of the host's files, is raised once memory is put back.
  // The last step makes the whole change final at once where the storage keeps it in one
  // transaction (закрепить): its failure is the last section's.
  bool сохранить(ИтогИзменения& итог, bool в_памяти = false) {
    for (std::size_t i = 0; i < разделы_.size(); ++i) {
      try {
        сохранить_раздел(*разделы_[i]);
        if (i + 1 == разделы_.size()) хранилище_каталога().закрепить();
      } catch (const RunError& e) {
        if (!в_памяти || !ERR_IsHostCondition(e.code())) откатить();
        if (!ERR_IsHostCondition(e.code())) throw;
        итог.исход = ИтогИзменения::Исход::не_сохранено;
        итог.файл = разделы_[i]->файл;
        итог.код_ошибки = e.code();
        for (std::size_t k = 0; k < i && !в_памяти; ++k) {
          try {
            сохранить_раздел(*разделы_[k]);
          } catch (const RunError& again) {
            итог.вдобавок += "\nФайл "_cps + кавычки(разделы_[k]->файл) + " вернуть к прежнему не удалось: "_cps +
                             ERR_ErrorWords(again.code()) + "."_cps;
          }
        }
        return false;
      }
    }
    return true;
  }

  Изменения изменения;

 private:
  void откатить() {
    for (auto it = откаты_.rbegin(); it != откаты_.rend(); ++it) (*it)();
    откаты_.clear();
  }
  std::vector<std::function<void()>> откаты_;
  std::vector<const РазделКаталога*> разделы_;
};

// The details of the book of code `код` made `сведения`: its lines taken out, and a line put in at
// the front unless they are the defaults (a book without details has no line); nothing when its
// one line holds them already. Each with the way back.
void задать_сведения(Правка& правка, std::int32_t код, const СведенияКниги& сведения) {
  std::vector<std::size_t> места;
  std::size_t i = 0;
  for (auto v : сведения_лит.views()) {
    if (v.template get<0>() == код) места.push_back(i);
    ++i;
  }
  if (места.size() == 1 && !сведения.пусто() && сведения_книги(код) == сведения) return;
  if (места.empty() && сведения.пусто()) return;
  правка.затронуть(секция_сведений);
  for (auto it = места.rbegin(); it != места.rend(); ++it) правка.убрать(сведения_лит, *it);
  if (!сведения.пусто()) правка.вставить(сведения_лит, 0, СведенияЛит{код, сведения});
}

// The record as the catalogue table keeps it: without the details it carries.
ЗаписьБазы без_сведений(ЗаписьБазы з) {
  з.сведения.reset();
  return з;
}

struct Подписка {
  std::size_t номер;
  ПодписчикИзменений подписчик;
};
struct Подписки {
  std::vector<Подписка> все;
  std::size_t последний = 0;
};

// The change path's state besides the history: its subscribers, and what it knows of the desks.
struct СостояниеПути {
  Подписки подписки;
  // The stored catalogue is held (a change is under way, or the watch reads): what the
  // subscribers are to hear once it is released, and what the user is to be told.
  bool хранилище_занято = false;
  std::vector<Изменения> отложенные;
  std::vector<std::string> сообщения;  // what the files had to tell meanwhile
  bool слежение_идёт = false;  // the watch runs (it may show a message: its next run waits)
  bool сказано_о_недоступности = false;
  std::chrono::milliseconds ждать = ожидание_хранилища_обычное;
  std::function<void()> пока_ждём;
};
СостояниеПути& путь() {
  static СостояниеПути с;
  return с;
}
Подписки& подписки() { return путь().подписки; }

// The subscribers hear of a change; while a change is under way, once the stored catalogue is
// released.
void оповестить(const Изменения& изменения) {
  if (путь().хранилище_занято) {
    путь().отложенные.push_back(изменения);
    return;
  }
  const std::vector<Подписка> все = подписки().все;  // a subscriber may subscribe or leave
  for (const Подписка& п : все) п.подписчик(изменения);
}

// Reads again what other desks stored, tells the subscribers (once the stored catalogue is
// released) and the user what did not load.
void принять_перечитанное(const std::vector<const РазделКаталога*>& разделы) {
  if (разделы.empty()) return;
  const Перечитанное п = перечитать_разделы(разделы);
  for (const std::string& с : п.сообщения) сообщить_о_каталоге(с);
  if (!п.изменения.пусто()) оповестить(п.изменения);
}

// The record as the messages name it: its code and title.
std::string о_записи(const ЗаписьБазы& з) { return "Запись "_cps + std::to_string(з.код) + " "_cps + кавычки(з.наименование); }

// What became of a record that is no longer there as the user saw it.
std::string что_с_записью(const ЗаписьБазы& з) {
  return база_лит.по_коду(з.код).empty()
             ? "её удалили (или изменили, и она получила новый код) на другом рабочем месте."_cps
             : "её изменили на другом рабочем месте."_cps;
}

ИтогИзменения не_применимо(std::string сообщение = {}) {
  ИтогИзменения итог;
  итог.исход = ИтогИзменения::Исход::не_применимо;
  итог.сообщение = std::move(сообщение);
  return итог;
}

// A done change: saved, its step recorded (the subscribers hear of it from `применить`); or,
// when the host refuses a file, taken back with the message that says so.
ИтогИзменения завершить(Правка& правка, ШагИстории шаг) {
  ИтогИзменения итог;
  if (!правка.сохранить(итог)) {
    if (auto сообщение = отказ_без_файла(итог, "Изменение не сохранено"_cp, " Данные остались как были."_cp)) {
      итог.сообщение = std::move(*сообщение);
      return итог;
    }
    итог.сообщение = "Изменение не сохранено: файл "_cps + кавычки(итог.файл) + " не записан — "_cps +
                     ERR_ErrorWords(итог.код_ошибки) + ". Данные остались как были."_cps + итог.вдобавок + "\n"_cps +
                     ERR_ErrorAdvice(итог.код_ошибки);
    return итог;
  }
  запомнить_изменение(std::move(шаг));
  правка.изменения.история = true;
  итог.изменения = std::move(правка.изменения);
  return итог;
}

// ---- Records and categories ----

// A record put back keeps its code while no other record has taken it; otherwise it gets a new
// one as data entry would.
bool код_занят(std::int32_t код) {
  for (auto v : база_лит.views())
    if (v[&ЗаписьБазы::код] == код) return true;
  return false;
}
void дать_код(ЗаписьБазы& з) {
  if (код_занят(з.код)) з.код = формирумновыйкод();
}

ИтогИзменения ввести_запись(const ВвестиЗапись& оп, ИсточникИзменения источник) {
  Правка правка(источник);
  ЗаписьБазы з = оп.запись;
  з.код = формирумновыйкод();
  з.сведения = оп.запись.сведения.value_or(СведенияКниги{});
  правка.затронуть_записи();
  правка.вставить<ЗаписьБазы>(база_лит, 0, без_сведений(з));
  задать_сведения(правка, з.код, *з.сведения);
  правка.изменения.добавленные = {з};
  return завершить(правка, ВводЗаписи{з});
}

// The edited record keeps the code and the place of the old one, so that a code can serve as an
// inventory number; an old record that is gone makes the edit an entry with a new code.
// The details the edited record gets: those it carries, else the old record's as stored.
ИтогИзменения изменить_запись(const ИзменитьЗапись& оп, ИсточникИзменения источник) {
  const std::optional<ЗаписьБазы> прежняя = оп.прежняя ? std::optional(без_сведений(*оп.прежняя)) : std::nullopt;
  // The record as the user saw it: its eight fields, and its details when the edit carries them.
  const bool на_месте = !прежняя || (место_значения<ЗаписьБазы>(база_лит, *прежняя) &&
                                     (!оп.прежняя->сведения || *оп.прежняя->сведения == сведения_книги(прежняя->код)));
  if (!на_месте)
    return не_применимо(о_записи(*оп.прежняя) + " не изменена: пока она была открыта, "_cps +
                        что_с_записью(*оп.прежняя) + " Откройте запись снова и повторите правку."_cps);
  Правка правка(источник);
  ЗаписьБазы новая = оп.новая;
  const auto место = прежняя ? место_значения<ЗаписьБазы>(база_лит, *прежняя) : std::nullopt;
  if (!место) {
    новая.код = формирумновыйкод();
    новая.сведения = оп.новая.сведения.value_or(СведенияКниги{});
    правка.затронуть_записи();
    правка.вставить<ЗаписьБазы>(база_лит, 0, без_сведений(новая));
    задать_сведения(правка, новая.код, *новая.сведения);
    правка.изменения.добавленные = {новая};
    return завершить(правка, ВводЗаписи{новая});
  }
  правка.затронуть_записи();
  ЗаписьБазы старая = правка.убрать<ЗаписьБазы>(база_лит, *место);
  старая.сведения = сведения_книги(старая.код);
  новая.код = старая.код;
  новая.сведения = оп.новая.сведения.value_or(*старая.сведения);
  правка.вставить<ЗаписьБазы>(база_лит, *место, без_сведений(новая));
  задать_сведения(правка, новая.код, *новая.сведения);
  правка.изменения.убранные = {старая};
  правка.изменения.добавленные = {новая};
  return завершить(правка, ПравкаЗаписи{std::move(старая), *место, std::move(новая)});
}

ИтогИзменения удалить_запись(const УдалитьЗапись& оп, ИсточникИзменения источник) {
  const auto место = место_значения<ЗаписьБазы>(база_лит, без_сведений(оп.запись));
  if (!место) return не_применимо(о_записи(оп.запись) + " не удалена: тем временем "_cps + что_с_записью(оп.запись));
  Правка правка(источник);
  правка.затронуть_записи();
  ЗаписьБазы з = правка.убрать<ЗаписьБазы>(база_лит, *место);
  // Its details go with it; the step keeps them for undo.
  з.сведения = сведения_книги(з.код);
  задать_сведения(правка, з.код, СведенияКниги{});
  отметить_данный_код(з.код);  // its code stays given
  правка.изменения.убранные = {з};
  return завершить(правка, УдалениеЗаписи{std::move(з), *место});
}

ИтогИзменения ввести_категорию(const ВвестиКатегорию& оп, ИсточникИзменения источник) {
  if (категории_лит.contains(оп.категория)) return не_применимо();
  Правка правка(источник);
  правка.затронуть(секция_категорий);
  правка.вставить(категории_лит, категории_лит.count(), оп.категория);
  правка.изменения.категории = true;
  return завершить(правка, ВводКатегории{оп.категория});
}

// A category that is no longer there.
std::string категории_нет(const std::string& категория, std::string_view что_не_сделано) {
  return "Категория "_cps + кавычки(категория) + std::string(что_не_сделано) +
         ": тем временем её удалили или переименовали на другом рабочем месте."_cps;
}

// Every record still there that `какие` names (found by value, with the category `из`) gets the
// category `в`, in its place with its code, in one pass over the catalogue; the records as they
// were. A record another desk changed meanwhile keeps what it has.
std::vector<ЗаписьБазы> сменить_категорию(Правка& правка, const std::vector<ЗаписьБазы>& какие, const std::string& из,
                                          const std::string& в) {
  std::unordered_map<std::string, std::size_t> нужные;
  for (ЗаписьБазы з : какие) {
    з.категория = из;
    ++нужные[ключ_записи(з)];
  }
  std::vector<ЗаписьБазы> было = база_лит.all();
  std::vector<ЗаписьБазы> стало = было;
  std::vector<ЗаписьБазы> прежние;
  for (ЗаписьБазы& з : стало) {
    const auto it = нужные.find(ключ_записи(з));
    if (it == нужные.end() || it->second == 0) continue;
    --it->second;
    прежние.push_back(з);
    правка.изменения.убранные.push_back(з);
    з.категория = в;
    правка.изменения.добавленные.push_back(з);
  }
  if (прежние.empty()) return прежние;
  правка.затронуть_записи();
  база_лит.retract_all();
  for (const ЗаписьБазы& з : стало) база_лит.assertz(з);
  правка.назад([было = std::move(было)] {
    база_лит.retract_all();
    for (const ЗаписьБазы& з : было) база_лит.assertz(з);
  });
  return прежние;
}

ИтогИзменения изменить_категорию(const ИзменитьКатегорию& оп, ИсточникИзменения источник) {
  const auto место = место_значения(категории_лит, оп.прежняя);
  if (!место) return не_применимо(категории_нет(оп.прежняя, " не изменена"_cp));
  Правка правка(источник);
  правка.затронуть(секция_категорий);
  правка.убрать(категории_лит, *место);
  правка.вставить(категории_лит, категории_лит.count(), оп.новая);
  правка.изменения.категории = true;
  std::vector<ЗаписьБазы> записи;
  if (оп.с_записями && оп.прежняя != оп.новая) {
    for (const ЗаписьБазы& з : база_лит.facts())
      if (з.категория == оп.прежняя) записи.push_back(з);
    записи = сменить_категорию(правка, записи, оп.прежняя, оп.новая);
  }
  return завершить(правка, ПравкаКатегории{оп.прежняя, *место, оп.новая, std::move(записи)});
}

ИтогИзменения удалить_категорию(const УдалитьКатегорию& оп, ИсточникИзменения источник) {
  const auto место = место_значения(категории_лит, оп.категория);
  if (!место) return не_применимо(категории_нет(оп.категория, " не удалена"_cp));
  Правка правка(источник);
  правка.затронуть(секция_категорий);
  правка.убрать(категории_лит, *место);
  правка.изменения.категории = true;
  return завершить(правка, УдалениеКатегории{оп.категория, *место});
}

ИтогИзменения задать_шрифт(const ЗадатьШрифтКарточки& оп, ИсточникИзменения источник) {
  Правка правка(источник);
  правка.затронуть(секция_настроек);
  const std::optional<Binary> прежний = шрифткарточки.get();
  шрифткарточки.retract_all();
  шрифткарточки.assertz(оп.шрифт);
  правка.назад([прежний] {
    шрифткарточки.retract_all();
    if (прежний) шрифткарточки.assertz(*прежний);
  });
  правка.изменения.настройки = true;
  // A font that cannot be saved stays chosen for the run.
  ИтогИзменения итог;
  if (!правка.сохранить(итог, true))
    итог.сообщение = отказ_без_файла(итог, "Шрифт карточки выбран, но не сохранён"_cp,
                                     " Выбранный шрифт действует до конца работы программы."_cp)
                         .value_or("Шрифт карточки выбран, но файл "_cps + кавычки(итог.файл) + " не записан — "_cps +
                                   ERR_ErrorWords(итог.код_ошибки) +
                                   ". Выбранный шрифт действует до конца работы программы.\n"_cps +
                                   ERR_ErrorAdvice(итог.код_ошибки));
  итог.изменения = std::move(правка.изменения);
  return итог;
}

// ---- Readers and loans ----

ИтогИзменения ввести_читателя(const ВвестиЧитателя& оп, ИсточникИзменения источник) {
  Правка правка(источник);
  правка.затронуть(секция_читателей);
  правка.затронуть(секция_кодов_читателей);
  const std::optional<std::int32_t> прежний_код = наибольший_код_читателя.get();
  Читатель ч = оп.читатель;
  ч.код = новый_код_читателя();
  правка.назад([прежний_код] {
    наибольший_код_читателя.retract_all();
    if (прежний_код) наибольший_код_читателя.assertz(*прежний_код);
  });
  правка.вставить(читатель_лит, читатель_лит.count(), ч);
  правка.изменения.читатели = true;
  return завершить(правка, ВводЧитателя{ч});
}

ИтогИзменения изменить_читателя(const ИзменитьЧитателя& оп, ИсточникИзменения источник) {
  const auto место = место_значения(читатель_лит, оп.прежний);
  if (!место)
    return не_применимо("Карточка читателя "_cps + кавычки(оп.прежний.фио) +
                        " не изменена: тем временем её изменили или удалили на другом рабочем месте."_cps);
  Правка правка(источник);
  правка.затронуть(секция_читателей);
  Читатель старый = правка.убрать(читатель_лит, *место);
  Читатель новый = оп.новый;
  новый.код = старый.код;
  правка.вставить(читатель_лит, *место, новый);
  правка.изменения.читатели = true;
  return завершить(правка, ПравкаЧитателя{std::move(старый), *место, std::move(новый)});
}

ИтогИзменения удалить_читателя(const УдалитьЧитателя& оп, ИсточникИзменения источник) {
  const auto место = место_значения(читатель_лит, оп.читатель);
  if (!место)
    return не_применимо("Читатель "_cps + кавычки(оп.читатель.фио) +
                        " не удалён: тем временем его карточку изменили или удалили на другом рабочем месте."_cps);
  if (const auto нельзя = читателя_нельзя_удалить(оп.читатель)) return не_применимо(*нельзя);
  Правка правка(источник);
  правка.затронуть(секция_читателей);
  Читатель ч = правка.убрать(читатель_лит, *место);
  правка.изменения.читатели = true;
  return завершить(правка, УдалениеЧитателя{std::move(ч), *место});
}

ИтогИзменения выдать_книгу(const ВыдатьКнигу& оп, ИсточникИзменения источник) {
  Выдача в = оп.выдача;
  в.возвращена.clear();
  const std::string не_выдана = "Книга не выдана: "_cps;
  if (база_лит.по_коду(в.код_книги).empty())
    return не_применимо(не_выдана + "книги с кодом "_cps + std::to_string(в.код_книги) + " в каталоге нет."_cps);
  if (!читатель_по_коду(в.код_читателя))
    return не_применимо(не_выдана + "читателя с кодом "_cps + std::to_string(в.код_читателя) + " нет."_cps);
  const auto выдана = дата_из_текста(в.выдана);
  const auto срок = дата_из_текста(в.срок);
  if (!выдана) return не_применимо(не_выдана + "дата выдачи "_cps + кавычки(в.выдана) + " — не дата."_cps);
  if (!срок) return не_применимо(не_выдана + "срок "_cps + кавычки(в.срок) + " — не дата."_cps);
  if (*срок < *выдана)
    return не_применимо(не_выдана + "срок "_cps + показ_даты(в.срок) + " раньше даты выдачи "_cps + показ_даты(в.выдана) + "."_cps);
  if (const auto занята = все_экземпляры_на_руках(в.код_книги)) return не_применимо(не_выдана + *занята + "."_cps);
  Правка правка(источник);
  правка.затронуть(секция_выдач);
  правка.вставить(выдача_лит, выдача_лит.count(), в);
  правка.изменения.выдачи = true;
  return завершить(правка, ВыдачаКниги{std::move(в)});
}

ИтогИзменения принять_книгу(const ПринятьКнигу& оп, ИсточникИзменения источник) {
  const std::string не_принята = "Книга не принята: "_cps;
  const auto место = оп.выдача.на_руках() ? место_значения(выдача_лит, оп.выдача) : std::nullopt;
  if (!место)
    return не_применимо(не_принята + название_книги(оп.выдача.код_книги) +
                        " уже не на руках у этого читателя: тем временем её приняли на другом рабочем месте."_cps);
  const auto дата = дата_из_текста(оп.дата);
  if (!дата) return не_применимо(не_принята + "дата возврата "_cps + кавычки(оп.дата) + " — не дата."_cps);
  const auto выдана = дата_из_текста(оп.выдача.выдана);
  if (выдана && *дата < *выдана)
    return не_применимо(не_принята + "дата возврата "_cps + показ_даты(оп.дата) + " раньше даты выдачи "_cps +
                        показ_даты(оп.выдача.выдана) + "."_cps);
  Правка правка(источник);
  правка.затронуть(секция_выдач);
  Выдача прежняя = правка.убрать(выдача_лит, *место);
  Выдача новая = прежняя;
  новая.возвращена = оп.дата;
  правка.вставить(выдача_лит, *место, новая);
  правка.изменения.выдачи = true;
  return завершить(правка, ВозвратКниги{std::move(прежняя), *место, std::move(новая)});
}

ИтогИзменения задать_срок_выдачи(const ЗадатьСрокВыдачи& оп, ИсточникИзменения источник) {
  if (оп.дней < 1 || оп.дней == срок_выдачи_дней.get()) return не_применимо();
  Правка правка(источник);
  правка.затронуть(секция_срока_выдачи);
  const std::optional<std::int32_t> прежний = срок_выдачи_дней.get();
  срок_выдачи_дней.replace(оп.дней);
  правка.назад([прежний] {
    срок_выдачи_дней.retract_all();
    if (прежний) срок_выдачи_дней.assertz(*прежний);
  });
  правка.изменения.настройки = true;
  ИтогИзменения итог;
  if (!правка.сохранить(итог)) {
    итог.сообщение = отказ_без_файла(итог, "Срок выдачи не изменён"_cp, {})
                         .value_or("Срок выдачи не изменён: файл "_cps + кавычки(итог.файл) + " не записан — "_cps +
                                   ERR_ErrorWords(итог.код_ошибки) + ".\n"_cps + ERR_ErrorAdvice(итог.код_ошибки));
    return итог;
  }
  итог.изменения = std::move(правка.изменения);
  оповестить(итог.изменения);
  return итог;
}

// ---- Imports ----

// Puts texts at the back of a list table (the categories, the kinds); the way back takes them
// out again. Whether there were any.
bool добавить_в_конец(Правка& правка, FactKind<std::string>& table, const std::vector<std::string>& texts) {
  if (texts.empty()) return false;
  правка.затронуть(table.section());
  const std::size_t было = table.count();
  правка.назад([&table, было, n = texts.size()] {
    for (std::size_t i = 0; i < n; ++i) изъять_на_месте(table, было);
  });
  for (const std::string& t : texts) table.assertz(t);
  return true;
}

// Takes out of a list table the last text equal to each of `texts`, the last first; the way back
// puts the table back as it was. The texts taken out, in their order.
std::vector<std::string> убрать_с_конца(Правка& правка, FactKind<std::string>& table,
                                        const std::vector<std::string>& texts) {
  правка.назад([&table, было = table.all()] {
    table.retract_all();
    for (const std::string& t : было) table.assertz(t);
  });
  std::vector<std::string> убранные;
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
    const auto место = место_значения(table, *it, true);
    if (!место) continue;
    изъять_на_месте(table, *место);
    убранные.insert(убранные.begin(), *it);
  }
  if (!убранные.empty()) правка.затронуть(table.section());
  return убранные;
}

// Puts an import's records at the front one after another, its categories and kinds at the back;
// the way back takes exactly them out again. `новые_коды`: each record gets the next code (the
// largest plus 1, 2, …); otherwise a record keeps its code unless another has it. `шаг` receives
// the records as put.
void добавить_импорт(Правка& правка, ИмпортЗаписей& шаг, bool новые_коды, const ОтчётИзменения& отчёт) {
  std::vector<ЗаписьБазы>& записи = шаг.записи;
  // The codes first, so that codes beyond the integer range raise before anything changes.
  std::unordered_set<std::int32_t> занятые;
  std::optional<std::int64_t> наибольший;
  const auto учесть = [&наибольший](std::int32_t код) {
    наибольший = std::max(наибольший.value_or(INT64_MIN), std::int64_t{код});
  };
  for (auto v : база_лит.views()) {
    const std::int32_t код = v[&ЗаписьБазы::код];
    if (!новые_коды) занятые.insert(код);
    учесть(код);
  }
  if (!новые_коды)
    for (const ЗаписьБазы& з : записи) учесть(з.код);
  if (const auto данный = наибольший_код.first()) учесть(*данный);
  std::int64_t следующий = наибольший ? *наибольший + 1 : 1;
  for (ЗаписьБазы& з : записи) {
    if (!новые_коды && занятые.insert(з.код).second) continue;
    if (следующий > INT32_MAX) RUN_Error(errcode::kIntOverflow);
    з.код = static_cast<std::int32_t>(следующий++);
  }
  if (!записи.empty()) отметить_данный_код(static_cast<std::int32_t>(следующий - 1));

  if (!записи.empty()) правка.затронуть_записи();
  правка.назад([n = записи.size()] {
    for (std::size_t i = 0; i < n; ++i) база_лит.retract_first();
  });
  std::size_t сведений = 0;
  for (std::size_t i = 0; i < записи.size(); ++i) {
    ЗаписьБазы& з = записи[i];
    база_лит.asserta(з);  // the table keeps the eight fields
    if (з.сведения && з.сведения->пусто()) з.сведения.reset();  // the defaults are carried as none
    if (отчёт && (i + 1) % kЗаписейМеждуОтчётами == 0) отчёт(i + 1);
  }
  // Their details at the front of their section, one line each book that has any.
  for (const ЗаписьБазы& з : записи) сведений += з.сведения ? 1 : 0;
  if (сведений) {
    правка.затронуть(секция_сведений);
    правка.назад([сведений] {
      for (std::size_t i = 0; i < сведений; ++i) сведения_лит.retract_first();
    });
    for (const ЗаписьБазы& з : записи)
      if (з.сведения) сведения_лит.asserta(СведенияЛит{з.код, *з.сведения});
  }
  правка.изменения.добавленные = записи;
  правка.изменения.категории = добавить_в_конец(правка, категории_лит, шаг.категории);
  правка.изменения.виды = добавить_в_конец(правка, виды_лит, шаг.виды);
}

ИтогИзменения импортировать(ИмпортироватьЗаписи& оп, ИсточникИзменения источник, const ОтчётИзменения& отчёт) {
  if (оп.записи.empty() && оп.категории.empty() && оп.виды.empty()) return не_применимо();
  Правка правка(источник);
  const std::size_t записей = оп.записи.size();
  // The operation is the change's own: its records become the step without a copy.
  ИмпортЗаписей шаг{std::move(оп.записи), std::move(оп.категории), std::move(оп.виды), std::move(оп.источник)};
  добавить_импорт(правка, шаг, true, отчёт);
  ИтогИзменения итог = завершить(правка, std::move(шаг));
  if (!итог.сделано()) return итог;
  запомнить_коды();  // as new codes leave the codes list: every code in table order
  if (отчёт) отчёт(записей);
  return итог;
}

// Takes out the records of an import that are still there, found by value, and its categories
// and kinds (the last equal one of each); the way back puts the tables back as they were. `шаг`
// keeps what was taken out. False when nothing of it is there.
bool убрать_импорт(Правка& правка, ИмпортЗаписей& шаг) {
  std::unordered_map<std::string, std::size_t> нужные;
  for (const ЗаписьБазы& з : шаг.записи) ++нужные[ключ_записи(з)];
  правка.назад([было = база_лит.all()] {
    база_лит.retract_all();
    for (const ЗаписьБазы& з : было) база_лит.assertz(з);
  });
  std::vector<ЗаписьБазы> убранные;
  for (const ЗаписьБазы& з : база_лит.retracting([&](const ЗаписьБазы& з) {
         const auto it = нужные.find(ключ_записи(з));
         if (it == нужные.end() || it->second == 0) return false;
         --it->second;
         return true;
       }))
    убранные.push_back(з);
  if (!убранные.empty()) правка.затронуть_записи();
  // Their details go with them (the step keeps them for redo).
  std::unordered_set<std::int32_t> коды;
  for (ЗаписьБазы& з : убранные) {
    з.сведения.reset();
    if (есть_сведения(з.код)) {
      з.сведения = сведения_книги(з.код);
      коды.insert(з.код);
    }
  }
  if (!коды.empty()) {
    правка.затронуть(секция_сведений);
    правка.назад([было = сведения_лит.all()] {
      сведения_лит.retract_all();
      for (const СведенияЛит& с : было) сведения_лит.assertz(с);
    });
    сведения_лит.retract_all([&коды](const СведенияЛит& с) { return коды.contains(с.код); });
  }
  std::vector<std::string> категории = убрать_с_конца(правка, категории_лит, шаг.категории);
  std::vector<std::string> виды = убрать_с_конца(правка, виды_лит, шаг.виды);
  if (убранные.empty() && категории.empty() && виды.empty()) return false;
  // The records in the order they were put in: the retract walk met the last put in first.
  std::reverse(убранные.begin(), убранные.end());
  правка.изменения.убранные = убранные;
  правка.изменения.категории = !категории.empty();
  правка.изменения.виды = !виды.empty();
  шаг.записи = std::move(убранные);
  шаг.категории = std::move(категории);
  шаг.виды = std::move(виды);
  return true;
}

// ---- Undo and redo ----

// The two directions of the history.
struct Направление {
  std::vector<ШагИстории>& откуда;
  std::vector<ШагИстории>& куда;
  std::string_view глагол;  // "отменить" / "повторить"
  bool назад;               // undo
};

// A fact taken out (found by value) and a fact put in at a place, in that order, on one table.
template <class T>
struct Действие {
  std::optional<T> убрать;  // the fact taken out: the first equal one, or the last with с_конца
  bool с_конца = false;
  std::optional<T> вставить;  // the fact put in at `место` (past the end: last); a record whose
  std::size_t место = 0;      // code is taken meanwhile gets a new one
  bool свой_код = false;      // the record put in takes the place of the one taken out, code and all
};

// Does the action as part of `правка`; false when the fact to take out is gone. `вставлено` is
// the fact put in, with the code it got.
template <class T>
bool сделать(Правка& правка, FactKind<T>& table, const Действие<T>& д, std::optional<T>& вставлено) {
  if (д.убрать) {
    const auto место = место_значения(table, *д.убрать, д.с_конца);
    if (!место) return false;
    правка.убрать(table, *место);
  }
  if (д.вставить) {
    T значение = *д.вставить;
    if constexpr (std::is_same_v<T, ЗаписьБазы>)
      if (!д.свой_код) дать_код(значение);
    правка.вставить(table, д.место, значение);
    вставлено = std::move(значение);
  }
  return true;
}

constexpr std::size_t kВКонец = static_cast<std::size_t>(-1);

// What keeps a lending step from being done again or taken back now, though what it acts on is
// there: a loan put out again (an issue redone, a return undone) while every copy of its book is
// out by now, or a reader taken out (a deletion redone, an entry undone) who has books out by now;
// and a loan whose book or reader is gone. `убрать`: the step cannot become possible again, so it
// goes from the history; otherwise it stays, to be done once the book or the reader is free.
struct ПомехаШага {
  std::string почему;
  bool убрать = false;
};

std::optional<ПомехаШага> помеха_шага(const ШагИстории& шаг, bool назад) {
  const auto выдача_снова = [](const Выдача& в) -> std::optional<ПомехаШага> {
    if (база_лит.по_коду(в.код_книги).empty())
      return ПомехаШага{"книги с кодом "_cps + std::to_string(в.код_книги) + " больше нет в каталоге."_cps, true};
    if (!читатель_по_коду(в.код_читателя))
      return ПомехаШага{"читателя с кодом "_cps + std::to_string(в.код_читателя) + " больше нет."_cps, true};
    if (const auto занята = все_экземпляры_на_руках(в.код_книги))
      return ПомехаШага{"тем временем книгу выдали: "_cps + *занята + ".\nШаг остался в истории: его можно сделать, когда книгу вернут."_cps};
    return std::nullopt;
  };
  const auto читатель_уходит = [](const Читатель& ч) -> std::optional<ПомехаШага> {
    // Only the reader the step knows: one changed meanwhile is told by the step itself.
    if (!читатель_лит.contains(ч)) return std::nullopt;
    if (const auto нельзя = читателя_нельзя_удалить(ч))
      return ПомехаШага{*нельзя + "\nШаг остался в истории: его можно сделать, когда книги примут."_cps};
    return std::nullopt;
  };
  if (const auto* s = std::get_if<ВыдачаКниги>(&шаг); s && !назад) return выдача_снова(s->выдача);
  if (const auto* s = std::get_if<ВозвратКниги>(&шаг); s && назад && выдача_лит.contains(s->новая))
    return выдача_снова(s->прежняя);
  if (const auto* s = std::get_if<УдалениеЧитателя>(&шаг); s && !назад) return читатель_уходит(s->читатель);
  if (const auto* s = std::get_if<ВводЧитателя>(&шаг); s && назад) return читатель_уходит(s->читатель);
  return std::nullopt;
}

ИтогИзменения шагнуть(const Направление& н, ИсточникИзменения источник) {
  if (н.откуда.empty()) return не_применимо();
  ШагИстории& шаг = н.откуда.back();
  const std::string что = описание_шага(шаг);
  if (const auto помеха = помеха_шага(шаг, н.назад)) {
    ИтогИзменения итог = не_применимо("Не удалось "_cps + std::string(н.глагол) + " "_cps + что + ": "_cps + помеха->почему);
    if (помеха->убрать) {
      н.откуда.pop_back();
      итог.сообщение += "\nЭтот шаг убран из истории."_cps;
      итог.изменения.источник = источник;
      итог.изменения.история = true;
    }
    return итог;
  }
  Правка правка(источник);
  bool есть = true;
  std::string о_пропаже;
  // The step as it is once done (the codes its records got), taken over only when it is saved.
  ШагИстории сделанный = шаг;
  // One action on the catalogue; `обновить` (in `сделанный`) receives the record as put in.
  const auto база = [&](Действие<ЗаписьБазы> д, ЗаписьБазы* обновить) {
    правка.затронуть_записи();
    // The table keeps the eight fields; the details the step carries go to their own section.
    std::optional<СведенияКниги> убрать_сведения, вставить_сведения;
    if (д.убрать) убрать_сведения = std::exchange(д.убрать->сведения, std::nullopt);
    if (д.вставить) вставить_сведения = std::exchange(д.вставить->сведения, std::nullopt);
    std::optional<ЗаписьБазы> вставлено;
    // The record to take out must be there with the details the step knows.
    есть = !(д.убрать && убрать_сведения && *убрать_сведения != сведения_книги(д.убрать->код));
    if (есть) есть = сделать(правка, база_лит, д, вставлено);
    if (!есть) {
      о_пропаже = !база_лит.по_коду(д.убрать->код).empty()
                      ? "эту запись тем временем изменили на другом рабочем месте: в каталоге она уже другая."_cps
                      : "этой записи больше нет в каталоге."_cps;
      return;
    }
    if (д.убрать) {
      д.убрать->сведения = сведения_книги(д.убрать->код);
      задать_сведения(правка, д.убрать->код, СведенияКниги{});
      правка.изменения.убранные = {*д.убрать};
    }
    if (вставлено) {
      вставлено->сведения = вставить_сведения.value_or(СведенияКниги{});
      задать_сведения(правка, вставлено->код, *вставлено->сведения);
      правка.изменения.добавленные = {*вставлено};
      if (обновить) *обновить = *вставлено;
    }
  };
  const auto категории = [&](Действие<std::string> д) {
    правка.затронуть(секция_категорий);
    std::optional<std::string> вставлено;
    есть = сделать(правка, категории_лит, д, вставлено);
    о_пропаже = "этой категории больше нет в списке категорий."_cps;
    правка.изменения.категории = есть;
  };
  const auto читатели = [&](Действие<Читатель> д) {
    правка.затронуть(секция_читателей);
    std::optional<Читатель> вставлено;
    есть = сделать(правка, читатель_лит, д, вставлено);
    о_пропаже = "карточку этого читателя тем временем изменили или удалили на другом рабочем месте."_cps;
    правка.изменения.читатели = есть;
  };
  const auto выдачи = [&](Действие<Выдача> д) {
    правка.затронуть(секция_выдач);
    std::optional<Выдача> вставлено;
    есть = сделать(правка, выдача_лит, д, вставлено);
    о_пропаже = "эту книгу тем временем выдали или приняли на другом рабочем месте."_cps;
    правка.изменения.выдачи = есть;
  };
  const bool назад = н.назад;
  if (auto* s = std::get_if<ВводЗаписи>(&сделанный))
    назад ? база({s->запись, false, {}, 0}, nullptr) : база({{}, false, s->запись, 0}, &s->запись);
  else if (auto* s = std::get_if<ПравкаЗаписи>(&сделанный))
    назад ? база({s->новая, false, s->старая, s->место, true}, &s->старая)
          : база({s->старая, false, s->новая, s->место, true}, &s->новая);
  else if (auto* s = std::get_if<УдалениеЗаписи>(&сделанный))
    назад ? база({{}, false, s->запись, s->место}, &s->запись) : база({s->запись, false, {}, 0}, nullptr);
  else if (auto* s = std::get_if<ВводКатегории>(&сделанный))
    назад ? категории({s->категория, true, {}, 0}) : категории({{}, false, s->категория, kВКонец});
  else if (auto* s = std::get_if<ПравкаКатегории>(&сделанный)) {
    назад ? категории({s->новая, true, s->старая, s->место}) : категории({s->старая, false, s->новая, kВКонец});
    // Its records follow it back and forth (those another desk changed meanwhile stay as they are).
    if (есть && !s->записи.empty())
      назад ? сменить_категорию(правка, s->записи, s->новая, s->старая)
            : сменить_категорию(правка, s->записи, s->старая, s->новая);
  }
  else if (auto* s = std::get_if<УдалениеКатегории>(&сделанный))
    назад ? категории({{}, false, s->категория, s->место}) : категории({s->категория, false, {}, 0});
  else if (auto* s = std::get_if<ИмпортЗаписей>(&сделанный)) {
    о_пропаже = "этих записей, категорий и видов больше нет в каталоге."_cps;
    if (назад)
      есть = убрать_импорт(правка, *s);
    else
      добавить_импорт(правка, *s, false, {});
  } else if (auto* s = std::get_if<ВводЧитателя>(&сделанный))
    назад ? читатели({s->читатель, false, {}, 0}) : читатели({{}, false, s->читатель, kВКонец});
  else if (auto* s = std::get_if<ПравкаЧитателя>(&сделанный))
    назад ? читатели({s->новый, false, s->старый, s->место}) : читатели({s->старый, false, s->новый, s->место});
  else if (auto* s = std::get_if<УдалениеЧитателя>(&сделанный))
    назад ? читатели({{}, false, s->читатель, s->место}) : читатели({s->читатель, false, {}, 0});
  else if (auto* s = std::get_if<ВыдачаКниги>(&сделанный))
    назад ? выдачи({s->выдача, true, {}, 0}) : выдачи({{}, false, s->выдача, kВКонец});
  else if (auto* s = std::get_if<ВозвратКниги>(&сделанный))
    назад ? выдачи({s->новая, false, s->прежняя, s->место}) : выдачи({s->прежняя, false, s->новая, s->место});
  if (!есть) {
    // What the step acts on is gone: the step goes, and the user is told.
    н.откуда.pop_back();
    Изменения изменения;
    изменения.источник = источник;
    изменения.история = true;
    ИтогИзменения итог = не_применимо("Не удалось "_cps + std::string(н.глагол) + " "_cps + что + ": "_cps + о_пропаже + "\nЭтот шаг убран из истории."_cps);
    итог.изменения = std::move(изменения);
    return итог;
  }
  ИтогИзменения итог;
  if (!правка.сохранить(итог)) {  // the step stays where it was
    if (auto сообщение = отказ_без_файла(итог, "Не удалось "_cps + std::string(н.глагол) + " "_cps + что,
                                         " Данные остались как были."_cp)) {
      итог.сообщение = std::move(*сообщение);
      return итог;
    }
    итог.сообщение = "Не удалось "_cps + std::string(н.глагол) + " "_cps + что + ": файл "_cps + кавычки(итог.файл) +
                     " не записан ("_cps + ERR_ErrorWords(итог.код_ошибки) + ").\nДанные и файл остались как были. "_cps +
                     ERR_ErrorAdvice(итог.код_ошибки) + итог.вдобавок;
    return итог;
  }
  if (std::holds_alternative<ИмпортЗаписей>(сделанный)) запомнить_коды();
  н.куда.push_back(std::move(сделанный));
  н.откуда.pop_back();
  правка.изменения.история = true;
  итог.изменения = std::move(правка.изменения);
  return итог;
}

ИтогИзменения выполнить(Операция& операция, ИсточникИзменения источник, const ОтчётИзменения& отчёт) {
  ИсторияИзменений& и = история_изменений();
  struct {
    ИсточникИзменения источник;
    const ОтчётИзменения& отчёт;
    ИсторияИзменений& и;
    ИтогИзменения operator()(const ВвестиЗапись& оп) const { return ввести_запись(оп, источник); }
    ИтогИзменения operator()(const ИзменитьЗапись& оп) const { return изменить_запись(оп, источник); }
    ИтогИзменения operator()(const УдалитьЗапись& оп) const { return удалить_запись(оп, источник); }
    ИтогИзменения operator()(const ВвестиКатегорию& оп) const { return ввести_категорию(оп, источник); }
    ИтогИзменения operator()(const ИзменитьКатегорию& оп) const { return изменить_категорию(оп, источник); }
    ИтогИзменения operator()(const УдалитьКатегорию& оп) const { return удалить_категорию(оп, источник); }
    ИтогИзменения operator()(ИмпортироватьЗаписи& оп) const { return импортировать(оп, источник, отчёт); }
    ИтогИзменения operator()(const ЗадатьШрифтКарточки& оп) const { return задать_шрифт(оп, источник); }
    ИтогИзменения operator()(const ОтменитьИзменение&) const {
      return шагнуть({и.отмена, и.повтор, "отменить"_cp, true}, источник);
    }
    ИтогИзменения operator()(const ПовторитьИзменение&) const {
      return шагнуть({и.повтор, и.отмена, "повторить"_cp, false}, источник);
    }
    ИтогИзменения operator()(const ВвестиЧитателя& оп) const { return ввести_читателя(оп, источник); }
    ИтогИзменения operator()(const ИзменитьЧитателя& оп) const { return изменить_читателя(оп, источник); }
    ИтогИзменения operator()(const УдалитьЧитателя& оп) const { return удалить_читателя(оп, источник); }
    ИтогИзменения operator()(const ВыдатьКнигу& оп) const { return выдать_книгу(оп, источник); }
    ИтогИзменения operator()(const ПринятьКнигу& оп) const { return принять_книгу(оп, источник); }
    ИтогИзменения operator()(const ЗадатьСрокВыдачи& оп) const { return задать_срок_выдачи(оп, источник); }
  } выполнить{источник, отчёт, и};
  return std::visit(выполнить, операция);
}

ИтогИзменения недоступно(std::string сообщение) {
  ИтогИзменения итог;
  итог.исход = ИтогИзменения::Исход::недоступно;
  итог.сообщение = std::move(сообщение);
  return итог;
}

// Runs `work` while the stored catalogue is held (`work` takes the hold, which goes with it): what
// the subscribers are to hear reaches them once it is released, also when `work` raises; what the
// files had to tell meanwhile is returned.
template <class Work>
std::vector<std::string> под_занятием(Work work) {
  СостояниеПути& п = путь();
  п.хранилище_занято = true;
  копить_сообщения_о_каталоге(&п.сообщения);
  std::exception_ptr сбой;
  try {
    work();
  } catch (...) {
    сбой = std::current_exception();
  }
  копить_сообщения_о_каталоге(nullptr);
  п.хранилище_занято = false;
  std::vector<Изменения> отложенные = std::move(п.отложенные);
  std::vector<std::string> сообщения = std::move(п.сообщения);
  п.отложенные.clear();
  п.сообщения.clear();
  for (const Изменения& и : отложенные) оповестить(и);
  if (сбой) {
    for (const std::string& с : сообщения) сообщить_о_каталоге(с);
    std::rethrow_exception(сбой);
  }
  return сообщения;
}

}  // namespace

ИтогИзменения применить(Операция операция, ИсточникИзменения источник, const ОтчётИзменения& отчёт) {
  СостояниеПути& п = путь();
  if (п.хранилище_занято) {  // within a change: held already; the subscribers hear of it once released
    ИтогИзменения итог = выполнить(операция, источник, отчёт);
    if (!итог.изменения.пусто()) оповестить(итог.изменения);
    return итог;
  }
  ХранилищеКаталога& хранилище = хранилище_каталога();
  if (const auto почему = хранилище.недоступно()) {
    п.сказано_о_недоступности = true;
    return недоступно("Изменение не сохранено: "_cps + *почему + хранилище.слова_недоступности().изменение);
  }
  ИтогИзменения итог;
  const std::vector<std::string> сообщения = под_занятием([&] {
    // A storage that loses its connection while this desk waits for its turn refuses the change
    // as one it could not store.
    std::unique_ptr<ЗанятиеХранилища> занятие;
    try {
      занятие = хранилище.занять(true, п.ждать, п.пока_ждём);
    } catch (const RunError& e) {
      if (!ERR_IsHostCondition(e.code())) throw;
      итог.код_ошибки = e.code();
      итог = недоступно(отказ_без_файла(итог, "Изменение не сохранено"_cp, " Данные остались как были."_cp)
                            .value_or(текст_отказа("Изменение не сохранено"_cps, e, "Данные остались как были."_cp)));
      return;
    }
    if (!занятие) {
      итог = недоступно("Изменение не сохранено: каталог сейчас сохраняет другое рабочее место, и за "_cps +
                        std::to_string((п.ждать.count() + 999) / 1000) +
                        " с очередь не подошла. Данные остались как были; попробуйте ещё раз."_cps);
      return;
    }
    std::vector<const РазделКаталога*> изменённые;
    try {
      изменённые = разделы_изменённые_другими();
    } catch (const RunError& e) {
      if (!ERR_IsHostCondition(e.code())) throw;
      итог = недоступно(текст_отказа("Изменение не сохранено: не удалось проверить файлы каталога"_cps, e,
                                     "Данные остались как были."_cp));
      return;
    }
    принять_перечитанное(изменённые);
    итог = выполнить(операция, источник, отчёт);
  });
  // The change's own news after what was read again (told as the hold went): not copied into the
  // queue, since a change may carry a whole import.
  if (!итог.изменения.пусто()) оповестить(итог.изменения);
  // What the files had to tell goes with the change's own message, in one box; a change done
  // tells it alone.
  for (const std::string& с : сообщения) {
    if (итог.сообщение.empty())
      сообщить_о_каталоге(с);
    else
      итог.сообщение += "\n\n"_cps + с;
  }
  return итог;
}

void задать_ожидание_хранилища(std::chrono::milliseconds ждать, std::function<void()> пока_ждём) {
  путь().ждать = ждать;
  путь().пока_ждём = std::move(пока_ждём);
}

ИтогСлежения освежить_каталог() {
  СостояниеПути& п = путь();
  ИтогСлежения итог;
  if (п.хранилище_занято || п.слежение_идёт) return итог;
  п.слежение_идёт = true;
  const auto конец = on_scope_exit([&п] { п.слежение_идёт = false; });
  ХранилищеКаталога& хранилище = хранилище_каталога();
  try {
    if (const auto почему = хранилище.недоступно()) {
      if (!п.сказано_о_недоступности) {
        п.сказано_о_недоступности = true;
        const СловаНедоступности слова = хранилище.слова_недоступности();
        итог.сообщения.push_back(слова.нет + *почему + слова.пока_нет);
      }
      return итог;
    }
    if (п.сказано_о_недоступности) {
      п.сказано_о_недоступности = false;
      итог.сообщения.push_back(хранилище.слова_недоступности().снова);
    }
    if (разделы_изменённые_другими().empty()) return итог;
    // A desk that writes holds the store for a moment: this run waits a little, the next tries again.
    std::vector<std::string> сообщения = под_занятием([&] {
      const auto занятие = хранилище.занять(false, std::chrono::milliseconds(100), {});
      if (!занятие) return;
      принять_перечитанное(разделы_изменённые_другими());
      итог.прочитано = true;
    });
    for (std::string& с : сообщения) итог.сообщения.push_back(std::move(с));
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
  }
  return итог;
}

void начать_слежение_заново() { путь().сказано_о_недоступности = false; }

void сбросить_путь_изменений() { путь() = СостояниеПути{}; }

std::size_t подписаться_на_изменения(ПодписчикИзменений subscriber) {
  Подписки& п = подписки();
  п.все.push_back({++п.последний, std::move(subscriber)});
  return п.последний;
}

void отписаться_от_изменений(std::size_t subscription) {
  std::erase_if(подписки().все, [subscription](const Подписка& п) { return п.номер == subscription; });
}

void забыть_подписчиков() { подписки() = Подписки{}; }
