// The command "База" / "Экспорт…", which writes the whole catalogue or the lines a list window
// finds, as a CSV table or an HTML page (core/exchange_table.h), into a file that is complete or
// not there at all.
#pragma once

#include <string>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/exchange_table.h"
#include "layer/types.h"

// "Экспорт…": when a list window's filter is on, asks whether to write the lines found or the
// whole catalogue; then the file (its name ending in ".html" or ".htm" makes a page, any other a
// table). A file that cannot be written is reported and left as it was. False when the user
// stopped or the file was not written.
bool экспортировать_каталог();
