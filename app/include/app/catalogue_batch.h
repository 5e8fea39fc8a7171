// The catalogue's work from the command line, with no window and no display: the check of its
// files, the export and the import. Each runs the same core code as the menu's command does; the
// folder is chosen as the program's start chooses it (first_start.h), and the texts go to the
// terminal in UTF-8.
#pragma once

#include <string>

#include "app/session.h"

enum class ПакетнаяРабота { проверка, экспорт, импорт, перенос };

struct ПакетноеЗадание {
  ПакетнаяРабота работа = ПакетнаяРабота::проверка;
  std::string файл;      // the table to write or read (a host path, as given)
  bool пробно = false;   // the import only says what it would do
  ЗапускПрограммы запуск;  // the folder named, if any, or the server catalogue (its URI)
  std::string куда;        // перенос: the server catalogue to copy into (a URI)
};

// Does the work and gives the process's exit code:
// - проверка: prints "ИМЯ_ФАЙЛА:СТРОКА: причина" on standard output for every line of a
//   catalogue file the program's reader does not understand ("ИМЯ_ФАЙЛА: причина" for a file
//   that cannot be read at all); 0 when every file loads, 1 otherwise. Nothing is written.
// - экспорт: the whole catalogue as "Экспорт…" writes it, as an HTML page for a name ending in
//   ".html" or ".htm", else as a CSV table; 0, or 1 with the reason on standard error.
// - импорт: reads the table as "Импорт…" does and prints its summary (the records to add, the
//   duplicates, the new categories and kinds, each row refused with its line and why); then, not
//   пробно, adds the records and saves as "Добавить" does. 0, or 1 when the file is refused as a
//   whole or the catalogue cannot be saved (nothing changed then).
// - перенос: the folder's catalogue copied into the empty server catalogue `куда` in one
//   transaction, the records counted and every other section compared there; 0, or 1 with the
//   reason (nothing stored then).
// With a server catalogue (запуск.сервер) the check reads every section from the server and
// prints "ИМЯ_ФАЙЛА: причина" for one that does not load; the export and the import work on it
// as on a folder. A server that cannot be reached, a wrong password, a database that holds other
// tables or a newer schema: the reason on standard error and exit code 1.
// The export and the import refuse, with exit code 1, a catalogue whose files do not all load.
int выполнить_пакетно(const ПакетноеЗадание& task);
