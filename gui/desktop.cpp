// The user's folders and the screens' work areas.
#include "layer/desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include "internal/geometry.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

QString existing_folder(QStandardPaths::StandardLocation where) {
  const QString path = QStandardPaths::writableLocation(where);
  if (path.isEmpty() || !QFileInfo(path).isDir()) return {};
  return QDir::cleanPath(path);
}

}  // namespace

std::string uix_GetUserFolder(int folder) {
  QStandardPaths::StandardLocation where = QStandardPaths::HomeLocation;
  switch (folder) {
    case uf_Home: break;
    case uf_Documents: where = QStandardPaths::DocumentsLocation; break;
    case uf_Pictures: where = QStandardPaths::PicturesLocation; break;
    default: RUN_Error(errcode::kBadValue);
  }
  QString path = existing_folder(where);
  if (path.isEmpty()) path = existing_folder(QStandardPaths::HomeLocation);
  return from_qt(QDir::toNativeSeparators(path));
}

Rect uix_GetWorkArea(Window win) {
  if (!QGuiApplication::instance()) return {};
  const QScreen* screen = nullptr;
  if (win != 0 && win != kScreenWindow) {
    const WindowRecord& r = checked_record(win);
    if (const QWidget* w = outer_widget(r); w && w->isVisible()) screen = w->screen();
  }
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? to_rect(screen->availableGeometry()) : Rect{};
}
