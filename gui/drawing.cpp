// Figures on windows: rectangles, lines and polylines with the window's pen, brush and draw mode.
#include "layer/drawing.h"

#include <cstdlib>

#include "internal/draw_target.h"

using namespace gui_detail;

namespace {

// The last pixel before `to` on the line from `from`: lines leave out their end point.
QPoint before_end(Point from, Point to) {
  const std::int64_t dx = std::int64_t(to.x) - from.x, dy = std::int64_t(to.y) - from.y;
  if (std::llabs(dx) >= std::llabs(dy)) {
    const std::int64_t x = to.x - (dx > 0 ? 1 : -1);
    const std::int64_t y = from.y + (dx == 0 ? 0 : ((x - from.x) * dy * 2 + dx) / (2 * dx));
    return QPoint(static_cast<int>(x), static_cast<int>(y));
  }
  const std::int64_t y = to.y - (dy > 0 ? 1 : -1);
  const std::int64_t x = from.x + ((y - from.y) * dx * 2 + dy) / (2 * dy);
  return QPoint(static_cast<int>(x), static_cast<int>(y));
}

}  // namespace

void draw_Rect(Window win, Rect rect) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  if (!select_draw_mode(p, target.tools().draw_mode)) return;
  const int l = std::min(rect.left, rect.right), r = std::max(rect.left, rect.right);
  const int t = std::min(rect.top, rect.bottom), b = std::max(rect.top, rect.bottom);
  if (r - l < 1 || b - t < 1) return;
  if (p.pen().style() == Qt::NoPen) {
    // Without an outline the filled area ends one pixel inside the right and bottom edges.
    p.fillRect(QRect(l, t, r - l - 1, b - t - 1), p.brush());
    return;
  }
  p.drawRect(QRect(l, t, r - l - 1, b - t - 1));
}

void draw_Line(Window win, Point from, Point to) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  if (from == to || !select_draw_mode(p, target.tools().draw_mode)) return;
  p.drawLine(QPoint(from.x, from.y), before_end(from, to));
}

void draw_Polyline(Window win, const std::vector<Point>& points) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  if (points.size() < 2 || !select_draw_mode(p, target.tools().draw_mode)) return;
  QPolygon poly;
  poly.reserve(static_cast<int>(points.size()));
  for (std::size_t i = 0; i + 1 < points.size(); ++i) poly << QPoint(points[i].x, points[i].y);
  const Point& last = points.back();
  const Point& prev = points[points.size() - 2];
  if (!(last == prev)) poly << before_end(prev, last);
  if (poly.size() < 2) return;
  p.drawPolyline(poly);
}
