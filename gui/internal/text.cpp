// Conversion of texts between the program (cp1251) and the toolkit (UTF-16), with line breaks.
#include "internal/text.h"

#include "runtime/codepage.h"

namespace gui_detail {

QString to_qt(std::string_view cp1251_text) {
  QString s = QString::fromStdString(cp1251::to_utf8(cp1251_text));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

std::string from_qt(const QString& text) {
  QString s = text;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar(0x2028), QChar('\n'));
  s.replace(QChar(0x2029), QChar('\n'));
  return cp1251::from_utf8(s.toStdString());
}

}  // namespace gui_detail
