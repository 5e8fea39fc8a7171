// Loading the toolkit's Russian translation into the application.
#include "internal/qt_translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace gui_detail {

void install_qt_translations() {
  QCoreApplication* app = QCoreApplication::instance();
  // The translator is a child of the application: it lives exactly as long as the application,
  // and finding it tells that this application has it already.
  static const QString kName = QStringLiteral("foliarkh_qt_ru");
  if (!app || app->findChild<QTranslator*>(kName, Qt::FindDirectChildrenOnly)) return;
  auto* translator = new QTranslator(app);
  translator->setObjectName(kName);
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return;
  }
  QCoreApplication::installTranslator(translator);
}

}  // namespace gui_detail
