// The clipboard's picture: whether there is one, taking it as a picture, putting one there.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "internal/picture_image.h"
#include "internal/picture_store.h"
#include "layer/clipboard.h"

using namespace gui_detail;

namespace {

const QMimeData* clipboard_data() {
  if (!QGuiApplication::instance()) return nullptr;
  return QGuiApplication::clipboard()->mimeData();
}

}  // namespace

bool clip_HasPicture() {
  const QMimeData* data = clipboard_data();
  return data && data->hasImage();
}

std::optional<Picture> clip_GetPicture() {
  const QMimeData* data = clipboard_data();
  if (!data || !data->hasImage()) return std::nullopt;
  const QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) return std::nullopt;
  return picture_of_image(image);
}

void clip_SetPicture(Picture pict) {
  const PictureEntry& e = checked_picture(pict);
  if (QGuiApplication::instance()) QGuiApplication::clipboard()->setImage(e.image);
}
