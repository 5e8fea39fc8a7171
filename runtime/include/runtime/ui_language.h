// The language the user reads: one decision, taken from the locale the user chose, for the
// windowing layer (which texts it shows), the message file of run-time errors and the command
// line. Under a Russian locale every text is Russian; under any other the system's own texts
// stand as they are written.
#pragma once

#include <string_view>

// Whether a locale name names Russian: its language part (before "_", "." or "@") is "ru", as in
// "ru", "ru_RU", "ru_RU.UTF-8", "ru_UA@euro". "C", "C.UTF-8", "en_US.UTF-8", "rus" do not.
bool RUN_NamesRussian(std::string_view locale_name);

// Whether the process runs under a Russian locale: the first of LC_ALL, LC_MESSAGES and LANG that
// is set and not empty names Russian (the order in which the C library picks the language of
// messages). Only the names are read, so a locale that was never generated on the host counts as
// well. Read afresh on every call.
bool RUN_RussianLocale();
