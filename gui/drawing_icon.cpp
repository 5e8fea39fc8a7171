// draw_Icon: an icon resource drawn with its transparency.
#include <QFile>

#include "internal/draw_target.h"
#include "internal/picture_store.h"
#include "layer/drawing.h"
#include "layer_portable/bitmap_decode.h"

using namespace gui_detail;

void draw_Icon(Window win, int x, int y, int res_id) {
  DrawTarget target(win);
  QFile f(QStringLiteral(":/icons/%1.ico").arg(res_id));
  if (!f.open(QIODevice::ReadOnly)) RUN_Error(errcode::kNoBitmapResource);
  const QByteArray bytes = f.readAll();
  bitmap::Image icon;
  const bitmap::Bytes data(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
  switch (bitmap::decode_icon(data, icon)) {
    case bitmap::Status::not_a_picture: RUN_Error(errcode::kNotPicture);
    case bitmap::Status::too_large: RUN_Error(errcode::kLayerMemory);
    case bitmap::Status::ok: break;
  }
  QPainter& p = target.painter();
  p.drawImage(QPoint(x, y), to_qimage(icon));
}
