// The file work of the catalogue's folders: making the catalogue of another folder the working
// one (the folder checked and entered, the model started afresh), writing a new catalogue's files
// into a folder, and the backup copy of the working catalogue (its files and the covers its
// records name, copied together into a new dated folder, complete or not at all). The choosers
// and the messages that show the texts made here are the program's (app/).
#pragma once

#include <optional>
#include <string>
#include <vector>

// How file work ended: the host path it made, or why it did not (cp1251; nothing was made then).
struct ИтогРаботы {
  std::string путь;
  std::string отказ;
  bool сделано() const { return отказ.empty(); }
};

// Checks that `folder` (a host path) holds a catalogue and makes it the working folder; why not
// when it cannot (nothing changed then).
std::optional<std::string> войти_в_папку_каталога(const std::string& folder);
// The model empty, the codes list at its start, nothing known of the catalogue's files, no
// history: the core as a start finds it before the catalogue's files load. The card font (the
// user's choice for the run) stays.
void начать_каталог_заново();

// Writes into `folder` (a host path) a new catalogue: a file for every section loaded when a
// catalogue opens (catalogue_files.h), the kinds and categories with those of the working
// catalogue, the others empty, the catalogue file last: all of them or none. A folder that holds
// any of the catalogue's files already is refused and nothing is written.
ИтогРаботы записать_новый_каталог(const std::string& folder);

// What a copy takes from the working folder: the catalogue's files that are there, then the
// cover files the records name that are there (each once, in table order), as bare names; and
// how many named covers are not there.
struct ФайлыКопии {
  std::vector<std::string> файлы;
  int нет_обложек = 0;
};
ФайлыКопии файлы_для_копии();

// Today's local date in the form of strftime's `format` ("%d.%m.%Y"), at most 31 characters.
std::string сегодня(const char* format);

// The name of the copy's folder for a date "YYYY-MM-DD", the n-th try (1: none before it):
// "Фолиарх-копия-<date>", then with "-2", "-3", ….
std::string имя_папки_копии(const std::string& date, int n);

// Copies the files into a new folder in `folder` (a host path), named for today; the host path of
// the folder made.
ИтогРаботы записать_копию(const std::string& folder, const ФайлыКопии& what);

// Takes a picture chosen anywhere (`path`: a host path in cp1251) into the working catalogue's
// folder, so that the bare name a record stores finds it, a backup copy takes it and the catalogue
// moves as one folder: a file already in the folder is taken as it is; one from elsewhere is
// copied under its own name, or, when a different file has that name in the folder, under the
// first free "<name>-2.<ext>", "<name>-3.<ext>", …; a file equal byte for byte to the one of a
// name tried is not copied again. `путь` of the result is the bare name to store; `отказ` says
// why the picture could not be taken (nothing was copied then).
ИтогРаботы взять_картинку_в_папку(const std::string& path);
