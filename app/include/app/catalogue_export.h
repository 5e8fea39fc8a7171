// Writing records out for other programs: a CSV table (UTF-8 with a byte-order mark, RFC 4180,
// CR LF) or a self-contained HTML page with one table, both with the columns of
// catalogue_exchange.h; and the command "База" / "Экспорт…", which writes the whole catalogue or
// the lines a list window finds, into a file that is complete or not there at all.
#pragma once

#include <string>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/exchange_table.h"
#include "layer/types.h"

// The HTML page (UTF-8 bytes) of the records, in the order given.
std::string записи_в_html(const std::vector<ЗаписьБазы>& records);
// The whole catalogue in the order of export: by code, records of one code in table order.
std::vector<ЗаписьБазы> каталог_для_экспорта();

// "Экспорт…": when a list window's filter is on, asks whether to write the lines found or the
// whole catalogue; then the file (its name ending in ".html" or ".htm" makes a page, any other a
// table). A file that cannot be written is reported and left as it was. False when the user
// stopped or the file was not written.
bool экспортировать_каталог();
