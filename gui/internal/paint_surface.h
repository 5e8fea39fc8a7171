// Painting of layer windows. Each drawable window keeps a surface (an image of its client area)
// that keeps its contents between paints: e_erasebackground and e_update draw on it inside the
// widget's paint event, and the surface is then shown. Drawing outside e_update goes to the
// surface as well and is shown by the next paint, which erases only what win_Invalidate asked
// for. Invariant: the record's paint_painter is set exactly while e_update is delivered, and it
// paints on the surface clipped to update_rect.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <optional>

#include "internal/window_record.h"

class QPaintEvent;
class QWidget;

namespace gui_detail {

class PaintSurface {
 public:
  explicit PaintSurface(QWidget* owner);
  // Handles the owner's paint event: background erase as attribute 10008 and the handler say,
  // e_update with the paint context, then the surface is shown. A paint that arrives while
  // another paint of the window runs is deferred (invalidated again, without erase; an erase
  // asked for stays asked for).
  void paint(Window win, QPaintEvent* ev);
  // Keeps the contents; a grown area starts in the window colour.
  void resize(QSize size);
  // Marks the next paint as one that shows drawing: it erases only the parts asked for by
  // erase_next, so the drawing around them stays.
  void skip_next_erase() { skip_erase_ = true; }
  // Asks for the background erase of `part` (win_Invalidate) at the paint that covers it,
  // whatever drawing happens before that paint; without a part, of the whole window.
  void erase_next(const QRect& part) { erase_asked_ += part; }
  void erase_next();
  QImage& image() { return image_; }
  QWidget* owner() const { return owner_; }

 private:
  QPointer<QWidget> owner_;
  QImage image_;
  bool skip_erase_ = false;
  QRegion erase_asked_;          // parts to erase at the paint that covers them
  bool painting_ = false;        // e_update draws on image_ now
  bool resize_pending_ = false;  // a resize arrived while painting_
};

// The painter for drawing on a window: the paint context while e_update runs, otherwise a fresh
// painter on the window's surface with the window's drawing tools (its result is shown at once
// by a repaint request). painter() is nullptr for a window without a surface.
class DrawContext {
 public:
  explicit DrawContext(WindowRecord& rec);
  ~DrawContext();
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;
  QPainter* painter() { return painter_; }

 private:
  QPainter* painter_ = nullptr;
  std::optional<QPainter> own_;
  QPointer<QWidget> owner_;
};

QColor to_qcolor(Color c);
Color from_qcolor(const QColor& c);
// Selects pen, brush, font, colours and background mode of `tools` into the painter.
void apply_draw_tools(QPainter& p, const DrawTools& tools);

}  // namespace gui_detail
