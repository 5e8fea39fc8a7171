// Stretching bitmap transfer with ternary raster operations.
#include "internal/raster_blit.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "internal/paint_surface.h"

namespace gui_detail {
namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFFu;

// An axis of the transfer: destination start and length, source start and length, mirrored.
struct Axis {
  std::int64_t dest = 0, dest_len = 0, src = 0, src_len = 0;
  bool mirror = false;
  Axis(std::int32_t d0, std::int32_t d1, std::int32_t s0, std::int32_t s1)
      : dest(std::min(d0, d1)), dest_len(std::llabs(std::int64_t(d1) - d0)), src(std::min(s0, s1)),
        src_len(std::llabs(std::int64_t(s1) - s0)), mirror((d1 < d0) != (s1 < s0)) {}
  // The source coordinate of destination coordinate `d` (inside the destination).
  std::int64_t source_of(std::int64_t d) const {
    std::int64_t i = d - dest;
    if (mirror) i = dest_len - 1 - i;
    return src + i * src_len / dest_len;
  }
};

bool uses_source(std::uint8_t op) { return ((op >> 2) & 0x33) != (op & 0x33); }
bool uses_pattern(std::uint8_t op) { return (op >> 4) != (op & 0x0F); }

// The painter's brush as a pattern over `area` of the device, aligned to the device's origin;
// the gaps of a hatched brush in the background colour, a hollow brush black.
QImage pattern_of(const QBrush& brush, const QColor& back, const QRect& area) {
  QImage pat(area.size(), QImage::Format_RGB32);
  pat.fill(brush.style() == Qt::NoBrush ? QColor(Qt::black) : back);
  if (brush.style() != Qt::NoBrush) {
    QPainter pp(&pat);
    pp.setBrushOrigin(-area.topLeft());
    pp.fillRect(QRect(QPoint(0, 0), area.size()), brush);
  }
  return pat;
}

}  // namespace

std::uint8_t ternary_op(int code) {
  static constexpr std::uint8_t kOps[] = {0x00, 0x00, 0xFF, 0x55, 0xC0, 0xBB, 0x33, 0x11,
                                          0xF0, 0x5A, 0xFB, 0x88, 0xCC, 0x44, 0x66, 0xEE};
  return code >= 1 && code <= 15 ? kOps[code] : 0x00;
}

std::uint32_t apply_ternary(std::uint8_t op, std::uint32_t pat, std::uint32_t src, std::uint32_t dst) {
  // Bit i of the operation is the result for brush bit (i>>2)&1, source (i>>1)&1, destination i&1.
  std::uint32_t out = 0;
  for (int i = 0; i < 8; ++i)
    if ((op >> i) & 1)
      out |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
  return out;
}

void stretch_blit(QPainter& p, const QImage& image, Rect dest, Rect src, int rop_code, const DrawTools& tools) {
  auto* device = dynamic_cast<QImage*>(p.device());
  if (!device || device->depth() != 32) return;
  const Axis ax(dest.left, dest.right, src.left, src.right), ay(dest.top, dest.bottom, src.top, src.bottom);
  const std::uint8_t op = ternary_op(rop_code);
  if (ax.dest_len == 0 || ay.dest_len == 0) return;
  if (uses_source(op) && (ax.src_len == 0 || ay.src_len == 0)) return;
  // Only the part of the destination on the device and inside the clipping is worked out.
  QRect area = QRect(0, 0, device->width(), device->height());
  area &= QRect(static_cast<int>(std::clamp<std::int64_t>(ax.dest, -(1 << 30), 1 << 30)),
                static_cast<int>(std::clamp<std::int64_t>(ay.dest, -(1 << 30), 1 << 30)),
                static_cast<int>(std::min<std::int64_t>(ax.dest_len, 1 << 30)),
                static_cast<int>(std::min<std::int64_t>(ay.dest_len, 1 << 30)));
  if (p.hasClipping()) area &= p.clipBoundingRect().toAlignedRect();
  if (area.isEmpty()) return;
  const QImage pat = uses_pattern(op) ? pattern_of(p.brush(), to_qcolor(tools.back), area) : QImage();
  QImage out(area.size(), QImage::Format_RGB32);
  std::vector<std::int64_t> columns(static_cast<std::size_t>(area.width()));
  for (int x = 0; x < area.width(); ++x) columns[static_cast<std::size_t>(x)] = ax.source_of(area.left() + x);
  for (int y = 0; y < area.height(); ++y) {
    const std::int64_t sy = ay.source_of(area.top() + y);
    const bool row_inside = sy >= 0 && sy < image.height();
    const auto* drow = reinterpret_cast<const std::uint32_t*>(device->constScanLine(area.top() + y)) + area.left();
    const auto* srow = row_inside ? reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(sy))) : nullptr;
    const auto* prow = pat.isNull() ? nullptr : reinterpret_cast<const std::uint32_t*>(pat.constScanLine(y));
    auto* orow = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
    for (int x = 0; x < area.width(); ++x) {
      const std::uint32_t d = drow[x];
      std::uint32_t s = 0;
      if (uses_source(op)) {
        const std::int64_t sx = columns[static_cast<std::size_t>(x)];
        if (!srow || sx < 0 || sx >= image.width() || (srow[sx] >> 24) == 0) {
          orow[x] = d;  // nothing to transfer here
          continue;
        }
        s = srow[sx];
      }
      const std::uint32_t pt = prow ? prow[x] : 0;
      orow[x] = 0xFF000000u | (apply_ternary(op, pt, s, d) & kRgbMask);
    }
  }
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(area.topLeft(), out);
  p.restore();
}

}  // namespace gui_detail
