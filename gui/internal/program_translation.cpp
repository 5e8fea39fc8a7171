// Loading and looking up the program's Russian translation (see program_translation.h).
#include "internal/program_translation.h"

#include <QTranslator>
#include <memory>

#include "runtime/err_messages.h"
#include "runtime/ui_language.h"

namespace gui_detail {
namespace {

// The translation as loaded: looked for once per reset of the layer; no translator when the file
// is missing or unreadable. The translator is asked directly, not installed in the application:
// it serves with and without one (a report on the standard error stream has none).
struct ProgramTranslation {
  bool looked = false;
  std::unique_ptr<QTranslator> translator;
};

ProgramTranslation& loaded() {
  static ProgramTranslation state;
  return state;
}

const QTranslator* translator() {
  if (!RUN_RussianLocale()) return nullptr;
  ProgramTranslation& s = loaded();
  if (!s.looked) {
    s.looked = true;
    if (const auto path = ERR_FindBesideMessageFile(ERR_DefaultSearchDirs(), kProgramTranslationFile)) {
      auto t = std::make_unique<QTranslator>();
      if (t->load(QString::fromStdString(*path))) s.translator = std::move(t);
    }
  }
  return s.translator.get();
}

}  // namespace

QString program_translation_of(const QString& text) {
  if (text.isEmpty()) return {};
  const QTranslator* t = translator();
  return t ? t->translate(kProgramTranslationContext, text.toUtf8().constData()) : QString();
}

void drop_program_translation() { loaded() = ProgramTranslation{}; }

}  // namespace gui_detail
