// Conversion of texts between the program (cp1251) and the toolkit (UTF-16), with line breaks, and
// the system's own texts through the program's translation on their way to the user.
#include "internal/text.h"

#include "internal/program_translation.h"
#include "layer/uix.h"
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

QString system_text(std::string_view cp1251_text) {
  QString s = to_qt(cp1251_text);
  QString translated = program_translation_of(s);
  return translated.isEmpty() ? s : translated;
}

}  // namespace gui_detail

std::string uix_Translate(std::string_view text) {
  const QString translated = gui_detail::program_translation_of(gui_detail::to_qt(text));
  return translated.isEmpty() ? std::string(text) : gui_detail::from_qt(translated);
}
