// A catalogue on a database server: the address of a server catalogue (a libpq connection URI),
// the storage of the catalogue's sections in its database behind the core's storage seam
// (core/catalogue_files.h), and the move of a folder catalogue into an empty database.
//
// The database holds, in the schema the first connection to an empty database makes:
//   foliarkh_schema   the schema's version (one row); a newer one than this program knows is refused
//   records           the catalogue's records, a column per field, the code unique by the primary
//                     key, their order in the list by `place`
//   record_codes      the sequence that gives a new record its code
//   covers            the cover pictures by the name a record gives them, each stored in the
//                     transaction of the change that stores a record naming it
//   sections          every other section of the section list as the text of its fact file, one
//                     row per file name, and each section's version (the records' too), raised by
//                     every store: a section added to the section list is stored here with no code
//                     of its own
// Every change of the change path is one transaction under an advisory lock (the hold of the
// seam), which other writing desks wait for; readers read a snapshot and never wait. A stored
// change notifies the other desks (NOTIFY foliarkh_catalogue).
//
// Texts are cp1251, as everywhere in the system; the database keeps them in UTF-8. Qt SQL and its
// PostgreSQL driver stay inside this library: its header is Qt-free.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue_files.h"

// Where a server catalogue is: what a libpq connection URI says
// (postgresql://[user[:password]@][host][:port][/database][?param=value&…]). A host beginning with
// "/" is the folder of a Unix socket.
struct АдресСервера {
  // UTF-8, as libpq takes them.
  std::string хост;          // empty: the local socket libpq chooses
  int порт = 5432;
  std::string база;          // empty: the user's name
  std::string пользователь;  // empty: the system user's name
  std::string пароль;        // never stored by the program; empty: ~/.pgpass or none
  std::string параметры;     // other connection options, "name=value;…"

  // "library@server" as titles and lists show it (cp1251; a socket folder shows as localhost).
  std::string показ() const;
  // The address as a URI without the password (UTF-8), for the recent list and messages.
  std::string uri() const;
};
// Reads a connection URI; nothing, with the reason in `ошибка` (cp1251), when it is not one.
std::optional<АдресСервера> разобрать_адрес(std::string_view uri, std::string* ошибка = nullptr);
// Whether a command-line argument names a server (begins with postgresql:// or postgres://).
bool адрес_сервера(std::string_view аргумент);

struct ОткрытиеСервера;

// The catalogue on the server, as the storage of the core's sections.
class ХранилищеСервера : public ХранилищеКаталога {
 public:
  ~ХранилищеСервера() override;
  ХранилищеСервера(const ХранилищеСервера&) = delete;
  ХранилищеСервера& operator=(const ХранилищеСервера&) = delete;

  void загрузить(const РазделКаталога& section) override;
  void сохранить(const РазделКаталога& section) override;
  std::optional<std::string> недоступно() override;
  СловаНедоступности слова_недоступности() const override;
  bool изменён(const РазделКаталога& section) override;
  void перечитать(const РазделКаталога& section) override;
  std::unique_ptr<ЗанятиеХранилища> занять(bool для_записи, std::chrono::milliseconds ждать,
                                           const std::function<void()>& пока_ждём) override;
  void закрепить() override;
  std::optional<std::int32_t> новый_код(std::optional<std::int32_t> наибольший) override;
  // A change refused by the server: told as the server's (the connection lost, no right to
  // change, the server's refusal in its own words), never as a file.
  std::optional<ОтказСохранения> отказ_сохранения(int код_ошибки) const override;

  const АдресСервера& адрес() const;
  // The role may not change the catalogue (it was granted reading alone).
  bool только_чтение() const;
  // Whether the connection held when last used (a lost one is made again by недоступно, which
  // the watch asks about once a second).
  bool на_связи() const;
  // Nothing of a catalogue is stored yet: no record and no section.
  bool пуст();
  // How many records are stored.
  std::size_t число_записей();
  // How many cover pictures are stored.
  std::size_t число_обложек();
  // The section's stored text as its fact file has it (cp1251); the records' section gives none.
  std::optional<std::string> текст_раздела(const РазделКаталога& section);
  // The folder (host path) where this desk keeps the cover pictures: those the records name are
  // fetched there whenever the records are read, and a picture a stored record names is taken from
  // there when the server does not hold it yet. Unset (the command line's work), the pictures are
  // taken from the current folder and never fetched. Set before the records are loaded.
  void задать_папку_обложек(const std::string& папка);
  // Every picture the records in memory name, as the server holds it, written into `папка` (host
  // path) under its name: the files written (cp1251 paths) and how many named pictures the server
  // does not hold. Raises the host's error of a file that cannot be written.
  struct ОбложкиВПапке {
    std::vector<std::string> файлы;
    int нет = 0;
  };
  ОбложкиВПапке записать_обложки(const std::string& папка);

  // Calls `пришло` when another desk stored a change (through the event loop of a process with
  // one: the program's windows); null stops.
  void слушать(std::function<void()> пришло);

  struct Состояние;

 private:
  friend ОткрытиеСервера открыть_сервер(const АдресСервера&);
  explicit ХранилищеСервера(std::unique_ptr<Состояние> состояние);
  std::unique_ptr<Состояние> с_;
};

// A connection made, or why not (cp1251, for the user).
struct ОткрытиеСервера {
  std::unique_ptr<ХранилищеСервера> хранилище;
  std::string ошибка;
};
// Connects to the database and makes sure it holds a catalogue of this program: an empty one
// gets the schema, an older schema is brought up to date. Refused, each with its message: a
// server that cannot be reached, a wrong password or user, a database that does not exist, one
// holding other tables, one with a schema newer than this program's.
ОткрытиеСервера открыть_сервер(const АдресСервера& адрес);

// Copies the catalogue loaded in memory (every section of the section list as it is now) into the
// server's empty catalogue in one transaction, with the cover pictures the records name from the
// current folder (the folder catalogue's), and checks what was stored against memory (the records
// and the pictures counted, every other section compared). Nothing when done; otherwise why (cp1251), and
// nothing was stored.
std::optional<std::string> перенести_каталог(ХранилищеСервера& сервер);

// The version of the schema this program makes and understands.
int версия_схемы_сервера();
