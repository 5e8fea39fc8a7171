// The catalogue's sections and their files: the section list (each data section with its file,
// whether it loads when a catalogue opens and whether a change saves it), the storage seam that
// loads and saves a section, and the storage of the working folder's fact files, which keeps a
// start file that did not load before the first save of its section would replace it.
//
// A new section (a fact file of its own) is one more entry of the section list: it then loads
// with the others, is saved by every change that touches its tables, and travels in the backup
// copy and the new catalogue's files.
//
// File names are bare: they are resolved against the current working directory both for loading
// and for saving. A load or save that fails raises its run-time error (fact_file.h); a failed
// save leaves the old file as it was (the change path, change_path.h, then puts memory back).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/fact_store.h"
#include "runtime/run_error.h"

inline constexpr std::string_view файл_видов = "ВидЛитер.pbs"_cp;
inline constexpr std::string_view файл_категорий = "КатегЛитер.pbs"_cp;
inline constexpr std::string_view файл_базы = "Литература1.pbs"_cp;
inline constexpr std::string_view файл_настроек = "Настройки.pbs"_cp;
inline constexpr std::string_view файл_кодов = "КодыЛитер.pbs"_cp;
inline constexpr std::string_view файл_сведений = "Сведения.pbs"_cp;
inline constexpr std::string_view файл_читателей = "Читатели.pbs"_cp;
inline constexpr std::string_view файл_кодов_читателей = "КодыЧитателей.pbs"_cp;
inline constexpr std::string_view файл_выдач = "Выдачи.pbs"_cp;
inline constexpr std::string_view файл_срока_выдачи = "СрокВыдачи.pbs"_cp;

// A section of the catalogue and its file.
struct РазделКаталога {
  std::string_view файл;
  FactSection* секция = nullptr;
  bool при_открытии = true;  // loaded when a catalogue opens (the settings never are)
  bool сохраняется = true;   // saved after a change of its tables (the kinds only by an import)
  bool переносится = false;  // a new catalogue starts with its contents (the kinds, the
                             // categories); one loaded at opening otherwise starts empty
  bool может_не_быть = false;  // a catalogue made before the section came has no file: it opens
                               // with the section empty, without a word
};

// The sections in the order they load: the kinds, the categories, the catalogue, the books'
// details, the highest code given, the readers, the highest reader code given, the loans (after
// the books and readers they name), the loan period, the settings.
const std::vector<РазделКаталога>& разделы_каталога();
// The section of a fact section; null for one that is not in the list.
const РазделКаталога* раздел_секции(const FactSection& section);
// The section whose fact section declares a table of that name; null when none does.
const РазделКаталога* раздел_таблицы(std::string_view table);

// A hold on the stored catalogue that keeps the other desks from storing (and, for a writer, from
// reading) while it lives: the folder's lock. A storage that one desk has to itself holds nothing.
class ЗанятиеХранилища {
 public:
  virtual ~ЗанятиеХранилища() = default;
};

// Where the sections are loaded from and saved to. The program's is the working folder's fact
// files (below), which several desks (programs on this computer or on others sharing the folder)
// may use at once; another kind of storage (a server) takes its place with
// задать_хранилище_каталога.
// How the user is told that the stored catalogue cannot be reached and is back (cp1251): a folder
// gone and back, a server's connection lost and made again.
struct СловаНедоступности {
  std::string нет;        // the watch's news, before why: "Папка каталога недоступна: "
  std::string пока_нет;   // after why: what the program does meanwhile
  std::string изменение;  // a change refused, after "Изменение не сохранено: " and why
  std::string снова;      // the watch's news when it is back
};

// How a storage that keeps no files (a server) tells a change it could not store (cp1251): why, in
// its own words ("связь с сервером каталога прервалась"), and what to do.
struct ОтказСохранения {
  std::string почему;
  std::string совет;
};

class ХранилищеКаталога {
 public:
  virtual ~ХранилищеКаталога() = default;
  // Adds the section's stored facts at the back of its tables (the section is empty before);
  // raises the error of a load that fails.
  virtual void загрузить(const РазделКаталога& section) = 0;
  // Stores the whole section, replacing what was stored; raises when it cannot, and then what
  // was stored is as it was.
  virtual void сохранить(const РазделКаталога& section) = 0;

  // What several desks need (the change path, change_path.h, uses it). The defaults are those of
  // a storage one desk has to itself: always there, never changed by another, taken at once.

  // Why the stored catalogue cannot be reached now (its folder is gone: a share unmounted, the
  // folder moved away), as the user's message (cp1251); nothing when it can.
  virtual std::optional<std::string> недоступно() { return std::nullopt; }
  // The words of the messages about it; the default speaks of the catalogue's folder.
  virtual СловаНедоступности слова_недоступности() const;
  // Whether what is stored for the section changed since this desk last loaded or stored it
  // (another desk stored it, a person edited the file). A section never loaded or stored by
  // this desk has not. May raise the host's error of a store that cannot be asked.
  virtual bool изменён(const РазделКаталога& section) {
    (void)section;
    return false;
  }
  // Replaces the section's facts with what is stored. When nothing can be read (a file that
  // cannot be opened), raises and the section stays as it was; a part that does not load raises
  // as загрузить does, with the facts before it loaded.
  virtual void перечитать(const РазделКаталога& section);
  // Takes the stored catalogue for this desk: `для_записи` alone (to read, merge and store a
  // change), otherwise beside other readers; waits up to `ждать`, running `пока_ждём` about every
  // 50 ms meanwhile. The hold, released when it goes; null when the time was up.
  virtual std::unique_ptr<ЗанятиеХранилища> занять(bool для_записи, std::chrono::milliseconds ждать,
                                                   const std::function<void()>& пока_ждём) {
    (void)для_записи, (void)ждать, (void)пока_ждём;
    return std::make_unique<ЗанятиеХранилища>();
  }
  // Makes final what was stored under the hold for writing (a server commits the change's
  // transaction); raises as сохранить does when it cannot, and then nothing of it is stored. A
  // storage that stores each section at once has nothing to do.
  virtual void закрепить() {}
  // The code of a new record when the storage gives the codes (a server's sequence): past
  // `наибольший` (the highest code the catalogue has given) and every code it gave before. Nothing
  // leaves the code to the core's rule (one past the highest).
  virtual std::optional<std::int32_t> новый_код(std::optional<std::int32_t> наибольший) {
    (void)наибольший;
    return std::nullopt;
  }
  // How a change refused by the error `код_ошибки` of a save or of закрепить is told. Nothing:
  // the message names the file that was not written and the host's reason (the folder's files).
  virtual std::optional<ОтказСохранения> отказ_сохранения(int код_ошибки) const {
    (void)код_ошибки;
    return std::nullopt;
  }
};
ХранилищеКаталога& хранилище_каталога();
// Makes `storage` the storage of the sections; null puts the working folder's files back.
// The working folder, absolute.
std::string рабочая_папка();
// A folder's path as messages and choosers show it (cp1251).
std::string показ_папки(const std::string& folder);
// The path of the folder's file `name` (cp1251) in the host's form.
std::string файл_в_папке(const std::string& folder, std::string_view name);

void задать_хранилище_каталога(std::unique_ptr<ХранилищеКаталога> storage);
// Whether the sections are the working folder's files (no other storage is set).
bool каталог_в_папке();

void загрузить_раздел(const РазделКаталога& section);
void сохранить_раздел(const РазделКаталога& section);

// Loads "ВидЛитер.pbs" into the kinds section, then "КатегЛитер.pbs" into the categories
// section; the first failure raises its error and the rest is not loaded.
void загрузить_раб_базы();
// The two halves of загрузить_раб_базы, for a start that loads each file under its own guard.
void загрузить_виды();
void загрузить_категории();
// Loads "Литература1.pbs" into the catalogue section.
void загрузить_основную_базу();

// Save the whole section to its file. In the working folder's files: before the first save of a
// section that is loaded and saved (the categories, the catalogue) in a run whose load of its
// file failed or was never attempted, the existing file is first copied to
// "<file>.сохранено-<n>" (the first n that names no file yet) and the user is told once where it
// was kept; when that copy cannot be made the save is not done and the error is raised, and the
// first time the user is told why, with the file's name. A link to nothing holds nothing to keep:
// the section is saved.
void сохранить_виды();
void сохранить_категории();
void сохранить_основную_базу();
void сохранить_настройки();

// What the run knows about a start file that is also saved.
struct StartFileState {
  bool holds_memory = false;  // loaded completely, or written by this run: saving loses nothing
  std::string kept_copy;      // the copy made before the first save, once made
  bool told_no_copy = false;  // the user knows that the copy cannot be made, so nothing is saved
};
// How the working folder's files tell the user of a start file kept aside before its first save,
// or of one that cannot be kept (code page 1251 text): the program shows a note while its windows
// run; null (the start, and after the core's reset) tells it through the runtime's channel of
// notices (ERR_ReportNotice).
using СообщениеОФайле = void (*)(const std::string& text);
void задать_сообщение_о_файлах(СообщениеОФайле tell);

// Tells the user about the catalogue's files and folder: a file kept aside or not loaded whole, the
// folder gone and back (the channel set by задать_сообщение_о_файлах).
void сообщить_о_каталоге(const std::string& text);
// While `копилка` is set, what the working folder's files have to tell is added to it instead of
// told: the change path keeps it while it holds the stored catalogue, so that no box waits for the
// user while the other desks wait for this one. Null tells again.
void копить_сообщения_о_каталоге(std::vector<std::string>* копилка);

// What to tell the user when loading a section's file raised `e` (cp1251): a file that cannot be
// read (missing, unreadable) or holds a line that is not a fact (read in part: the facts before
// it loaded), with its name, why and what to do; nothing for an error of the program itself.
// `снова`: the file was read again because another desk or a person changed it (what was loaded
// before stays when nothing could be read); otherwise it was read when the catalogue opened.
std::optional<std::string> сообщение_о_загрузке(const РазделКаталога& section, const RunError& e, bool снова);
// Loads a section's start file when a catalogue opens; a file that cannot be read or loads only
// in part is told (сообщение_о_загрузке) and the opening goes on; an error of the program itself
// is raised.
void загрузить_с_сообщением(const РазделКаталога& section);

// What the working folder's files know of a section's file.
const StartFileState& состояние_файла(const FactSection& section);
// A new catalogue opens: nothing is known of its files yet.
void забыть_состояние_файлов();

// The name of the copy kept of a start file before the first save of its section this run;
// empty when none was made.
std::string сохранённая_копия_категорий();
std::string сохранённая_копия_базы();
