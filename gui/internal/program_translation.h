// The program's own translation: under a Russian locale the Russian forms of the system's texts
// (menus, window titles, control captions, dialogs, message boxes, the help line), from the
// compiled translation foliarkh_ru.qm, installed beside the message file and found the way it is
// found. The texts keep their own form in the program's code; the layer applies the translation
// where they meet the toolkit (text.h: system_text). Under any other locale nothing is loaded and
// every text stands as written.
#pragma once

#include <QString>
#include <string_view>

namespace gui_detail {

// The file of the compiled Russian translation, and the context its messages stand in.
inline constexpr std::string_view kProgramTranslationFile = "foliarkh_ru.qm";
inline constexpr char kProgramTranslationContext[] = "foliarkh";

// The translation of `text` as the toolkit shows it (line breaks "\n"); empty when the locale is
// not Russian, when the translation file is not found or cannot be read, and for a text it does
// not name. The file is loaded on first use under a Russian locale, once.
QString program_translation_of(const QString& text);

// Forgets the loaded translation (the layer's reset): the next use looks for the file again.
void drop_program_translation();

}  // namespace gui_detail
