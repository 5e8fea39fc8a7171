// The catalogue folder a run works on, and the first start in a folder that holds no catalogue
// yet: the user chooses an empty catalogue or the sample books, and the program makes it.
//
// A folder holds a catalogue when it has the catalogue file "Литература1.pbs". Which folder: the
// one named on the command line; without one, the current directory when it holds a catalogue
// (as the program always did); otherwise the user's own catalogue, that is the last catalogue
// opened (recent_catalogues.h) while it still holds one, else $XDG_DATA_HOME/foliarkh
// (~/.local/share/foliarkh). So a start from the applications menu, in whatever folder, never
// writes into that folder and never reports files it was never given.
#pragma once

#include <string>

#include "app/session.h"

// Chooses the folder of a run started from the command line (сеанс().запуск) and makes it the
// current directory. When it holds no catalogue yet, asks once: "Пустой каталог" (the kinds and
// categories of the sample data, no records), "Книги-образцы" (every file of the sample data) or
// "Отмена"; the chosen catalogue is made (files that exist already are kept; the catalogue file
// is written last, each file complete or absent) and the run goes on. A catalogue that cannot be
// made is reported and the question asked again. Returns false when the user cancels: nothing
// has been written and the run ends. The folder is remembered as the last catalogue opened. A
// run not started from the command line works on the current directory as it is (true).
bool подготовить_папку_каталога();

// The folder a run started so works on (a host path), before anything is asked or made: the
// folder named, else the current directory when it holds a catalogue, else the last catalogue
// opened while it holds one, else the user's own catalogue folder.
std::string папка_запуска(const ЗапускПрограммы& start);

// The user's own catalogue folder (host path): $XDG_DATA_HOME/foliarkh when that is absolute,
// else ~/.local/share/foliarkh; empty without a home folder.
std::string папка_каталога_пользователя();

// The catalogue's name as the title bar and the printed pages show it: "Мой каталог" for the
// user's own catalogue folder, the folder's name otherwise (the whole path for a root).
std::string имя_каталога(const std::string& folder);

// The installed sample catalogue (host path): share/foliarkh/data beside the program's bin
// folder, <program folder>/../share/foliarkh/data, both in the build tree and once installed.
std::string папка_образцов();
