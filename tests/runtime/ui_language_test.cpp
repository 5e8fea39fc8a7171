// The user's language from the locale variables: which names name Russian, and which variable
// decides.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/ui_language.h"
#include "test_support.h"

namespace {

using test_support::ScopedEnv;

TEST(UiLanguage, NamesOfRussian) {
  for (const char* name : {"ru", "ru_RU", "ru_RU.UTF-8", "ru_RU.utf8", "ru_UA.KOI8-U", "ru_RU@euro", "ru.UTF-8"})
    EXPECT_TRUE(RUN_NamesRussian(name)) << name;
  for (const char* name : {"", "C", "C.UTF-8", "POSIX", "en_US.UTF-8", "rus", "russian", "RU_RU", "r", "uk_UA.UTF-8",
                           "be_BY@ru", "en_RU.UTF-8"})
    EXPECT_FALSE(RUN_NamesRussian(name)) << name;
}

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides; no locale needs to
// exist on the host (ru_RU.KOI8-R is generated almost nowhere).
TEST(UiLanguage, TheFirstVariableSetDecides) {
  const struct {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    bool russian;
  } cases[] = {
      {nullptr, nullptr, "ru_RU.KOI8-R", true},
      {nullptr, nullptr, "C.UTF-8", false},
      {nullptr, nullptr, nullptr, false},
      {"", "", "ru_RU.UTF-8", true},          // empty ones count as unset
      {"C", nullptr, "ru_RU.UTF-8", false},   // LC_ALL over LANG
      {nullptr, "ru_RU.UTF-8", "en_US.UTF-8", true},
      {nullptr, "en_US.UTF-8", "ru_RU.UTF-8", false},
      {"ru_RU.UTF-8", "C", "C", true},
  };
  for (const auto& c : cases) {
    const auto set = [](const char* name, const char* value) {
      if (value) ::setenv(name, value, 1);
      else ::unsetenv(name);
    };
    ScopedEnv keep_all("LC_ALL", ""), keep_messages("LC_MESSAGES", ""), keep_lang("LANG", "");
    set("LC_ALL", c.lc_all);
    set("LC_MESSAGES", c.lc_messages);
    set("LANG", c.lang);
    EXPECT_EQ(RUN_RussianLocale(), c.russian)
        << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_messages ? c.lc_messages : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
