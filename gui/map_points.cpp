// Points and rectangles: inside tests and mapping between the client areas of windows.
#include <QWidget>

#include "internal/window_record.h"
#include "layer/drawing.h"

using namespace gui_detail;

namespace {

// The widget whose client coordinates a window's points are in; nullptr for the screen.
QWidget* client_widget(Window win) {
  if (win == kScreenWindow) return nullptr;
  WindowRecord& rec = checked_record(win);
  if (!rec.client) RUN_Error(errcode::kWrongKind);
  return rec.client;
}

}  // namespace

bool rect_PntInside(Rect rect, Point point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

std::vector<Point> win_MapPoints(Window from, Window to, const std::vector<Point>& points) {
  QWidget* src = client_widget(from);
  QWidget* dst = client_widget(to);
  std::vector<Point> out;
  out.reserve(points.size());
  for (const Point& pt : points) {
    QPoint q(pt.x, pt.y);
    if (src) q = src->mapToGlobal(q);
    if (dst) q = dst->mapFromGlobal(q);
    out.push_back(Point{q.x(), q.y()});
  }
  return out;
}
