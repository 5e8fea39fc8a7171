// Text at the toolkit boundary: cp1251 strings of the program to QString and back. Inside the
// program a line break is one "\n"; towards the toolkit "\r\n" and "\n" both become its line
// break "\n", and on the way back "\r\n", U+2028 and U+2029 become "\n".
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace gui_detail {

QString to_qt(std::string_view cp1251_text);
std::string from_qt(const QString& text);

// One of the system's own texts (a menu item, a window title, a control's caption, a dialog's or
// a message box's text, the help line) as the user reads it: to_qt of the text, translated by
// the program's translation under a Russian locale (program_translation.h). A text the
// translation does not name, and every text under another locale, is shown as written. Not for
// the user's data: the contents of fields and lists go through to_qt alone.
QString system_text(std::string_view cp1251_text);

}  // namespace gui_detail
