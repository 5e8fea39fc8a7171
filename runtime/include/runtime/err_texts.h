// The runtime's own words as the user reads them: the labels of an error report ("Module:",
// "Pos:", …), the fallback texts of a message the message file lacks ("No error messages", …) and
// the host's texts of its error numbers. The runtime writes them in English, code page 1251; the
// windowing layer installs its translation when it starts (the Russian forms under a Russian
// locale), and each of these texts passes through it on its way to the user.
#pragma once

#include <string>
#include <string_view>

// Turns one of the runtime's texts into the form the user reads (cp1251 in, cp1251 out); a text
// it has no other form for comes back as it is.
using ErrTranslateFn = std::string (*)(std::string_view text);

// Installs the translation; nullptr leaves the texts as written. The reports of faults, composed
// ahead of any fault, are composed again with it.
void ERR_InstallTranslation(ErrTranslateFn fn);
ErrTranslateFn ERR_GetTranslation();

// `text` through the installed translation; the text itself without one, or when it fails.
std::string ERR_Translate(std::string_view text);
// "+ memory overflow" as translated when the translation was installed: that text is composed
// when the stack runs short, where no translation may run.
const std::string& ERR_MemoryOverflowWords();

// The words the runtime passes through the translation, each as the translation receives it (a
// check that all of them have their translated form uses this list).
inline constexpr std::string_view ERR_ReportWords[] = {
    "PROGRAM ERROR.", "Module:", "Include:", "Pos:", "Message:",
    "Exception with code", "Native OS error", "No error messages", "can not be opened", "can not be read",
    "+ memory overflow", "Unknown error"};
