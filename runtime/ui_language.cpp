// The choice of the user's language from the locale variables of the environment.
#include "runtime/ui_language.h"

#include <cstdlib>

bool RUN_NamesRussian(std::string_view locale_name) {
  const std::size_t end = locale_name.find_first_of("_.@");
  return locale_name.substr(0, end) == "ru";
}

bool RUN_RussianLocale() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* value = std::getenv(var); value && *value) return RUN_NamesRussian(value);
  return false;
}
