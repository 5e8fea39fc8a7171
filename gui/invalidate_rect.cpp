// win_Invalidate of a part of a window.
#include <QWidget>

#include "internal/paint_surface.h"
#include "internal/window_record.h"
#include "layer/drawing.h"

using namespace gui_detail;

void win_Invalidate(Window win, Rect rect) {
  WindowRecord& r = checked_record(win);
  const QRect part = QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)).normalized();
  if (r.surface) r.surface->erase_next(part);
  if (r.client) r.client->update(part);
}
