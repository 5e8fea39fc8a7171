// The remaining figures: pixels, ellipses, arcs, pies, polygons, rounded rectangles and the
// flood fill, with the window's pen, brush and draw mode.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>

#include "internal/draw_target.h"
#include "layer/drawing.h"

using namespace gui_detail;

namespace {

// The toolkit rectangle that draws the outline over left..right-1 and top..bottom-1, as
// draw_Rect does; none when the rectangle has no inside or is too large to be drawn.
std::optional<QRect> figure_rect(Rect r) {
  const std::int64_t l = std::min(r.left, r.right), t = std::min(r.top, r.bottom);
  const std::int64_t w = std::int64_t(std::max(r.left, r.right)) - l - 1;
  const std::int64_t h = std::int64_t(std::max(r.top, r.bottom)) - t - 1;
  constexpr std::int64_t kLargest = std::numeric_limits<int>::max() / 2;
  if (w < 0 || h < 0 || w > kLargest || h > kLargest) return std::nullopt;
  return QRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(w), static_cast<int>(h));
}

// The toolkit angle (1/16 degree, counterclockwise from three o'clock) of the point where the
// ray from the ellipse's centre through `p` meets the ellipse. The toolkit counts angles on the
// circle that the ellipse is stretched from, so the ray's direction is scaled by the axes.
int ellipse_angle(const QRect& box, Point p) {
  const double a = box.width() / 2.0, b = box.height() / 2.0;
  const double dx = p.x - (box.left() + a), dy = p.y - (box.top() + b);
  const double deg = std::atan2(-dy * a, dx * b) * 180.0 / std::numbers::pi;
  return static_cast<int>(std::lround(deg * 16.0));
}

// The counterclockwise span from `from` to `to`, in (0, 360] degrees (in 1/16 degree).
int ccw_span(int from, int to) {
  int span = (to - from) % (360 * 16);
  if (span <= 0) span += 360 * 16;
  return span;
}

enum class ArcShape { arc, pie };

void draw_arc_shape(Window win, Rect rect, Point start, Point end, ArcShape shape) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  const std::optional<QRect> box = figure_rect(rect);
  if (!box || !select_draw_mode(p, target.tools().draw_mode)) return;
  const int from = ellipse_angle(*box, start);
  const int span = ccw_span(from, ellipse_angle(*box, end));
  if (shape == ArcShape::arc)
    p.drawArc(*box, from, span);
  else
    p.drawPie(*box, from, span);
}

// The pixels of `img` inside `area` reachable from `seed` without crossing `edge`, as spans of
// one row each.
std::vector<QRect> fill_spans(const QImage& img, const QRect& area, QPoint seed, QRgb edge) {
  const int w = area.width();
  std::vector<bool> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(area.height()));
  auto at = [&](int x, int y) -> std::vector<bool>::reference {
    return seen[static_cast<std::size_t>(y - area.top()) * static_cast<std::size_t>(w) +
                static_cast<std::size_t>(x - area.left())];
  };
  auto open = [&](int x, int y) { return !at(x, y) && (img.pixel(x, y) & 0xFFFFFF) != edge; };
  std::vector<QRect> spans;
  std::vector<QPoint> todo{seed};
  while (!todo.empty()) {
    const QPoint s = todo.back();
    todo.pop_back();
    if (!open(s.x(), s.y())) continue;
    int l = s.x(), r = s.x();
    while (l > area.left() && open(l - 1, s.y())) --l;
    while (r < area.right() && open(r + 1, s.y())) ++r;
    for (int x = l; x <= r; ++x) at(x, s.y()) = true;
    spans.emplace_back(l, s.y(), r - l + 1, 1);
    // One seed for each run of open pixels beside the span, in the rows above and below.
    for (const int y : {s.y() - 1, s.y() + 1}) {
      if (y < area.top() || y > area.bottom()) continue;
      for (int x = l; x <= r; ++x)
        if (open(x, y) && (x == l || !open(x - 1, y))) todo.emplace_back(x, y);
    }
  }
  return spans;
}

}  // namespace

void draw_Pixel(Window win, Point point, Color color) {
  DrawTarget target(win);
  target.painter().fillRect(QRect(point.x, point.y, 1, 1), to_qcolor(color));
}

void draw_Ellipse(Window win, Rect rect) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  const std::optional<QRect> box = figure_rect(rect);
  if (box && select_draw_mode(p, target.tools().draw_mode)) p.drawEllipse(*box);
}

void draw_Arc(Window win, Rect rect, Point start, Point end) { draw_arc_shape(win, rect, start, end, ArcShape::arc); }

void draw_Pie(Window win, Rect rect, Point start, Point end) { draw_arc_shape(win, rect, start, end, ArcShape::pie); }

void draw_Polygon(Window win, const std::vector<Point>& points) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  if (points.size() < 2 || !select_draw_mode(p, target.tools().draw_mode)) return;
  QPolygon poly;
  poly.reserve(static_cast<int>(points.size()));
  for (const Point& pt : points) poly << QPoint(pt.x, pt.y);
  p.drawPolygon(poly, Qt::OddEvenFill);
}

void draw_RoundRect(Window win, Rect rect, int corner_width, int corner_height) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  const std::optional<QRect> box = figure_rect(rect);
  if (!box || !select_draw_mode(p, target.tools().draw_mode)) return;
  p.drawRoundedRect(*box, std::fabs(corner_width / 2.0), std::fabs(corner_height / 2.0), Qt::AbsoluteSize);
}

bool draw_FloodFill(Window win, Point point, Color boundary) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  if (!p.device() || p.device()->devType() != QInternal::Image) return false;
  const QImage& img = *static_cast<const QImage*>(p.device());
  QRect area = img.rect();
  if (p.hasClipping()) area &= p.clipBoundingRect().toAlignedRect();
  const QPoint seed(point.x, point.y);
  const QRgb edge = to_qcolor(boundary).rgb() & 0xFFFFFF;
  if (!area.contains(seed) || (img.pixel(seed) & 0xFFFFFF) == edge) return false;
  const std::vector<QRect> spans = fill_spans(img, area, seed, edge);
  if (!select_draw_mode(p, target.tools().draw_mode)) return true;
  for (const QRect& s : spans) p.fillRect(s, p.brush());
  return true;
}
