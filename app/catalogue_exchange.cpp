// The words of a file error (see catalogue_exchange.h).
#include "app/catalogue_exchange.h"

#include "runtime/err_words.h"

std::string причина_ошибки_файла(const RunError& e) { return ERR_ErrorWords(e.code()); }
