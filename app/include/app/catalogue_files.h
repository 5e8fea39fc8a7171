// The catalogue's data files: loading the kinds, categories and catalogue at start, saving the
// kinds (which only an import adds to), the categories, the catalogue and the card font after
// each change, and keeping a start file that
// did not load before the first save of its section would replace it.
//
// File names are bare: they are resolved against the current working directory both for loading
// and for saving. A load or save that fails raises its run-time error (fact_file.h); a failed
// save leaves the old file as it was and the facts in memory keep the change. The forms for the
// user's commands below tell the user instead.
#pragma once

#include <string>
#include <string_view>

#include "runtime/codepage.h"

inline constexpr std::string_view файл_видов = "ВидЛитер.pbs"_cp;
inline constexpr std::string_view файл_категорий = "КатегЛитер.pbs"_cp;
inline constexpr std::string_view файл_базы = "Литература1.pbs"_cp;
inline constexpr std::string_view файл_настроек = "Настройки.pbs"_cp;

// Loads "ВидЛитер.pbs" into the kinds section, then "КатегЛитер.pbs" into the categories
// section; the first failure raises its error and the rest is not loaded.
void загрузить_раб_базы();
// The two halves of загрузить_раб_базы, for a start that loads each file under its own guard.
void загрузить_виды();
void загрузить_категории();
// Loads "Литература1.pbs" into the catalogue section.
void загрузить_основную_базу();

// Save the whole section to its file. Before the first save of the kinds, the categories or the
// catalogue in a run whose load of that file failed or was never attempted, the existing file is first
// copied to "<file>.сохранено-<n>" (the first n that names no file yet) and the user is told once
// where it was kept; when that copy cannot be made the save is not done and the error is raised,
// and the first time the user is told why, with the file's name. A link to nothing holds nothing
// to keep: the section is saved.
void сохранить_виды();
void сохранить_категории();
void сохранить_основную_базу();
void сохранить_настройки();

// The saves of the user's commands: true when the file was written. When the host refuses it (the
// disk full, the file or its folder read-only, …) the user is told which file was not written, why
// and what to do, and the answer is false: the caller of a change then puts memory back as it was
// (the message says the data stayed as they were); the card font stays chosen for the run. An
// error of the program itself is raised.
bool сохранить_изменение_категорий();
bool сохранить_изменение_базы();
bool сохранить_шрифт_карточки();

// Loads a start file through `load_file` (one of the loads above) when a catalogue opens. A file
// that cannot be read (missing, unreadable) or holds a line that is not a fact (read in part) is
// told to the user, with its name, why and what to do, and the opening goes on; an error of the
// program itself is raised.
void загрузить_с_сообщением(void (*load_file)(), std::string_view name);

// The name of the copy kept of a start file before the first save of its section this run;
// empty when none was made.
std::string сохранённая_копия_категорий();
std::string сохранённая_копия_базы();
