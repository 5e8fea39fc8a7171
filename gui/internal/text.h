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

}  // namespace gui_detail
