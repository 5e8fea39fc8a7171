// What the export and the import of records share: the columns of an exchanged table
// (catalogue/exchange_table.h), and a file error put in words for the user.
#pragma once

#include <string>

#include "core/exchange_table.h"
#include "runtime/run_error.h"

// Why a file could not be read or written, for a message: the words of the runtime's one table
// (ERR_ErrorWords).
std::string причина_ошибки_файла(const RunError& error);
