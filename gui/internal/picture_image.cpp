// Toolkit images as pictures of the layer.
#include "internal/picture_image.h"

#include <QPainter>
#include <cstring>

#include "internal/picture_store.h"
#include "runtime/run_error.h"

namespace gui_detail {
namespace {

void put16(std::uint8_t* at, std::uint32_t v) {
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* at, std::uint32_t v) {
  put16(at, v & 0xFFFF);
  put16(at + 2, v >> 16);
}

}  // namespace

QImage opaque_image(const QImage& image) {
  if (!image.hasAlphaChannel()) {
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    // RGB32 keeps 0xFF in every pixel's top byte: the same bytes as an opaque ARGB32 image.
    rgb.reinterpretAsFormat(QImage::Format_ARGB32);
    return rgb;
  }
  QImage out(image.size(), QImage::Format_ARGB32);
  if (out.isNull()) return out;
  out.fill(Qt::white);
  QPainter p(&out);
  p.drawImage(0, 0, image);
  return out;
}

std::vector<std::uint8_t> block_of_image(const QImage& opaque) {
  constexpr std::size_t kHeader = 40;
  const int w = opaque.width(), h = opaque.height();
  const std::size_t stride = (static_cast<std::size_t>(w) * 24 + 31) / 32 * 4;
  std::vector<std::uint8_t> block(kHeader + stride * static_cast<std::size_t>(h), 0);
  std::uint8_t* b = block.data();
  put32(b, kHeader);
  put32(b + 4, static_cast<std::uint32_t>(w));
  put32(b + 8, static_cast<std::uint32_t>(h));  // positive: bottom row first
  put16(b + 12, 1);
  put16(b + 14, 24);
  put32(b + 16, 0);  // no compression
  put32(b + 20, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(h)));
  const auto per_metre = [](int dots) { return static_cast<std::uint32_t>(dots > 0 ? dots : 2835); };
  put32(b + 24, per_metre(opaque.dotsPerMeterX()));
  put32(b + 28, per_metre(opaque.dotsPerMeterY()));
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(opaque.constScanLine(y));
    std::uint8_t* dst = b + kHeader + stride * static_cast<std::size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      dst[3 * x] = static_cast<std::uint8_t>(src[x]);            // blue
      dst[3 * x + 1] = static_cast<std::uint8_t>(src[x] >> 8);   // green
      dst[3 * x + 2] = static_cast<std::uint8_t>(src[x] >> 16);  // red
    }
  }
  return block;
}

Picture picture_of_image(const QImage& image) {
  QImage opaque = opaque_image(image);
  if (opaque.isNull()) RUN_Error(errcode::kLayerMemory);
  std::vector<std::uint8_t> block = block_of_image(opaque);
  return add_picture(std::move(block), std::move(opaque));
}

}  // namespace gui_detail
