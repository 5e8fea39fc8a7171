// The working catalogue: loading it from the working folder, each step under its own guard (at
// start and after a switch), and making the catalogue of another folder the working one, by the
// folder chooser or from the last catalogues of the "Файл" menu.
#pragma once

#include <functional>
#include <string>

#include "layer/layer.h"

// Loads the catalogue of the working folder into the empty model as the task window's creation
// does, each step under its own guard (a step that fails is reported and the next one runs): the
// kinds, the categories, the catalogue, the codes list, the task window's working facts. A
// catalogue file that loaded puts its folder first among the last catalogues; the "Файл" menu's
// list of them is made again.
void загрузить_рабочий_каталог(Window task);

// Makes the catalogue of `folder` (a host path) the working one: the list, cover and dialog
// windows close, the folder becomes the working folder, the model and the session's working
// facts start afresh, the catalogue loads (загрузить_рабочий_каталог) and the task window's
// title names the folder. A folder without "Литература1.pbs", or one that cannot be made the
// working folder, is refused with a message, and nothing changes; false then.
bool открыть_каталог(Window task, const std::string& folder);

// Makes another catalogue the working one: the windows of the catalogue close, the model and the
// session's working facts start afresh, `перейти` makes the other catalogue's storage the one,
// and the catalogue loads (загрузить_рабочий_каталог). The title is the caller's.
void сменить_каталог(Window task, const std::function<void()>& перейти);

// "Открыть каталог…" and the toolbar's Open: the folder chooser, then открыть_каталог. False when
// the chooser is cancelled or the folder refused.
bool выбрать_и_открыть_каталог(Window task);

// The n-th (0-based) of the last catalogues of the "Файл" menu, opened; false when there is none
// or it is refused.
bool открыть_последний_каталог(Window task, int n);

// A notice about the catalogue's files (a start file read in part or not at all, one kept aside
// before its first save): a note titled "Каталог" while the windowing layer runs, else through
// the runtime's channel of notices (a run without windows). The core's files tell it so
// (задать_сообщение_о_файлах, set by the program's goal).
void сообщить_о_файле(const std::string& text);

// The task window's title with the catalogue of `folder` open: "Фолиарх — <its last name>".
std::string заголовок_каталога(const std::string& folder);
