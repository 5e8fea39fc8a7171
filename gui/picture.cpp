// Pictures: loading from resources, size, drawing and freeing (files: picture_file.cpp).
#include "layer/picture.h"

#include <QFile>
#include <algorithm>
#include <climits>

#include "internal/draw_target.h"
#include "internal/picture_store.h"
#include "internal/raster_blit.h"
#include "runtime/run_error.h"

using namespace gui_detail;

Picture pict_GetFromRes(int res_id) {
  QFile f(QStringLiteral(":/bitmaps/%1.bmp").arg(res_id));
  if (!f.open(QIODevice::ReadOnly)) RUN_Error(errcode::kNoBitmapResource);
  const QByteArray bytes = f.readAll();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  std::vector<std::uint8_t> block = bitmap::block_from_file({data, static_cast<std::size_t>(bytes.size())});
  if (block.empty()) RUN_Error(errcode::kNotPicture);
  return add_picture(std::move(block));
}

void pict_GetSize(Picture pict, int& width, int& height, int& size) {
  const PictureEntry& e = checked_picture(pict);
  width = e.image.width();
  height = e.image.height();
  size = static_cast<int>(e.block.size());
}

void pict_DrawEx(Window win, Picture pict, Rect dest, Rect src, int rop, bool /*use_palette*/) {
  DrawTarget target(win);
  const PictureEntry& e = checked_picture(pict);
  stretch_blit(target.painter(), e.image, dest, src, rop, target.tools());
}

void pict_DrawEx(Window win, Picture pict, Point at, int rop, bool use_palette) {
  (void)drawable_record(win);
  const PictureEntry& e = checked_picture(pict);
  const int w = e.image.width(), h = e.image.height();
  // The far corner, kept inside the coordinate range.
  auto far = [](std::int32_t from, int len) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t(from) + len, INT32_MAX));
  };
  pict_DrawEx(win, pict, Rect{at.x, at.y, far(at.x, w), far(at.y, h)}, Rect{0, 0, w, h}, rop, use_palette);
}

void pict_Draw(Window win, Picture pict, Point at, int rop) { pict_DrawEx(win, pict, at, rop, true); }

void pict_Draw(Window win, Picture pict, Rect dest, Rect src, int rop) {
  pict_DrawEx(win, pict, dest, src, rop, true);
}

void pict_Destroy(Picture pict) { remove_picture(pict); }
