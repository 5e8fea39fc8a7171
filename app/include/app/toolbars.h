// The program's two shared bars: the project toolbar of the task window and the help line at the
// bottom of the task window and of each list window.
#pragma once

#include <cstddef>
#include <string>

#include "layer/layer.h"

// The project toolbar (top) on `parent`: the buttons of the command table's project toolbar,
// greyed while they cannot act (also when it comes back after a list window took it away).
void tb_project_toolbar_Create(Window parent);
// The help line (bottom) on `parent`.
void tb_help_line_Create(Window parent);

// Tells the user in the help line what a command did ("Записано 26 записей в «каталог.csv»"): the
// task window's help line, and that of each list window open (which has the task window's away).
void показать_в_строке_подсказки(const std::string& text);
// A number of records in words: "1 запись", "3 записи", "12 записей".
std::string записей_словами(std::size_t n);
// The name of a file without its folders ("/home/u/каталог.csv" gives "каталог.csv"), as the
// help line names it.
std::string имя_файла(const std::string& path);
