// The surface of a drawable window, the paint sequence and the drawing context.
#include "internal/paint_surface.h"

#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

#include "internal/dispatch.h"
#include "internal/font_block.h"
#include "internal/task_data.h"
#include "layer/font.h"

namespace gui_detail {
namespace {

Rect to_rect(const QRect& r) { return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

}  // namespace

QColor to_qcolor(Color c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
Color from_qcolor(const QColor& c) {
  return static_cast<Color>(c.red()) | static_cast<Color>(c.green()) << 8 |
         static_cast<Color>(c.blue()) << 16;
}

void apply_draw_tools(QPainter& p, const DrawTools& t) {
  static constexpr Qt::PenStyle kPenStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                                Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  QPen pen(to_qcolor(t.pen.color));
  pen.setWidth(std::max(0, t.pen.width));
  pen.setStyle(t.pen.style >= 0 && t.pen.style <= 5 ? kPenStyles[t.pen.style] : Qt::SolidLine);
  p.setPen(pen);
  Qt::BrushStyle bs = Qt::SolidPattern;
  switch (t.brush.style) {
    case 1: bs = Qt::NoBrush; break;
    case 3: bs = Qt::HorPattern; break;
    case 4: bs = Qt::VerPattern; break;
    case 5: bs = Qt::FDiagPattern; break;
    case 6: bs = Qt::BDiagPattern; break;
    case 7: bs = Qt::CrossPattern; break;
    case 8: bs = Qt::DiagCrossPattern; break;
    default: break;
  }
  p.setBrush(QBrush(to_qcolor(t.brush.color), bs));
  p.setFont(to_qfont(t.font ? *t.font : font_Create(ff_System, {}, 10)));
  p.setBackground(to_qcolor(t.back));
  p.setBackgroundMode(t.back_mode == 1 ? Qt::TransparentMode : Qt::OpaqueMode);
}

PaintSurface::PaintSurface(QWidget* owner) : owner_(owner) {}

void PaintSurface::resize(QSize size) {
  if (painting_) {
    // A handler moved or resized its own window inside e_update: its painter draws on the image
    // until the paint ends, and the image takes the new size then.
    resize_pending_ = true;
    return;
  }
  size = size.expandedTo(QSize(1, 1));
  if (image_.size() == size) return;
  QImage next(size, QImage::Format_RGB32);
  next.fill(owner_ ? owner_->palette().color(QPalette::Window) : QColor(Qt::white));
  if (!image_.isNull()) {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
}

void PaintSurface::erase_next() {
  if (owner_) erase_next(owner_->rect());
}

void PaintSurface::paint(Window win, QPaintEvent* ev) {
  if (!owner_) return;
  const QRect r = ev->rect();
  WindowRecord* rec = find_record(win);
  if (image_.size() != owner_->size().expandedTo(QSize(1, 1))) resize(owner_->size());
  if (rec && rec->paint_painter) {
    // A paint of this window is running: ask again later, without erase.
    skip_erase_ = true;
    QTimer::singleShot(0, owner_, [o = owner_, r] {
      if (o) o->update(r);
    });
  } else if (rec && !delivery_blocked()) {
    // A paint of the platform erases all it covers; one that shows drawing only what
    // win_Invalidate asked for.
    const QRegion erase = skip_erase_ ? erase_asked_.intersected(r) : QRegion(r);
    skip_erase_ = false;
    erase_asked_ -= r;
    painting_ = true;
    QPainter p(&image_);
    p.setClipRect(r);
    if (!erase.isEmpty() && attributes().erase_background) {
      rec->erasing = true;
      const Delivery d = deliver(win, e_erasebackground{});
      if (WindowRecord* again = find_record(win)) again->erasing = false;
      if (!d.handled)
        for (const QRect& part : erase) p.fillRect(part, owner_->palette().color(QPalette::Window));
    }
    if ((rec = find_record(win)) != nullptr) {
      apply_draw_tools(p, rec->tools);
      rec->paint_painter = &p;
      rec->update_rect = to_rect(r);
      deliver(win, e_update{to_rect(r)});
      if (WindowRecord* again = find_record(win)) {
        again->paint_painter = nullptr;
        again->update_rect = {};
      }
    }
    p.end();
    painting_ = false;
    if (resize_pending_ && owner_) {
      resize_pending_ = false;
      resize(owner_->size());
      owner_->update();
    }
  }
  QPainter wp(owner_);
  wp.drawImage(r, image_, r);
}

DrawContext::DrawContext(WindowRecord& rec) {
  if (rec.paint_painter) {
    painter_ = rec.paint_painter;
    return;
  }
  if (!rec.surface || !rec.surface->owner()) return;
  owner_ = rec.surface->owner();
  if (rec.surface->image().size() != owner_->size()) rec.surface->resize(owner_->size());
  own_.emplace(&rec.surface->image());
  apply_draw_tools(*own_, rec.tools);
  painter_ = &*own_;
}

DrawContext::~DrawContext() {
  if (!own_) return;
  own_->end();
  if (owner_) {
    // Show the drawing without erasing it.
    if (WindowRecord* rec = find_record(owner_.data()); rec && rec->surface) rec->surface->skip_next_erase();
    owner_->update();
  }
}

}  // namespace gui_detail
