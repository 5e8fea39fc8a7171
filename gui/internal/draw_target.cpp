// Preparing a window for a drawing operation.
#include "internal/draw_target.h"

namespace gui_detail {

WindowRecord& drawable_record(Window win, SrcLoc loc) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind, loc);
  WindowRecord& rec = checked_record(win, loc);
  if (!rec.surface || !rec.surface->owner()) RUN_Error(errcode::kWrongKind, loc);
  if (rec.erasing) RUN_Error(errcode::kDrawWhileErasing, loc);
  return rec;
}

DrawTarget::DrawTarget(Window win, SrcLoc loc) : rec_(&drawable_record(win, loc)) {
  dc_.emplace(*rec_);
  painter_ = dc_->painter();
  if (!painter_) RUN_Error(errcode::kWrongKind, loc);
  // The tools may have changed since the context was prepared (inside e_update).
  apply_draw_tools(*painter_, rec_->tools);
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // Glyphs in the text colour alone, as the platform draws them (no blended edges).
  painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

bool select_draw_mode(QPainter& p, int draw_mode) {
  using C = QPainter;
  auto solid = [&p](Qt::GlobalColor c) {
    QPen pen = p.pen();
    pen.setColor(c);
    p.setPen(pen);
    QBrush brush = p.brush();
    brush.setColor(c);
    p.setBrush(brush);
  };
  switch (draw_mode) {
    case 1: solid(Qt::black); break;
    case 2: p.setCompositionMode(C::RasterOp_NotSourceAndNotDestination); break;
    case 3: p.setCompositionMode(C::RasterOp_NotSourceAndDestination); break;
    case 4: p.setCompositionMode(C::RasterOp_NotSource); break;
    case 5: p.setCompositionMode(C::RasterOp_SourceAndNotDestination); break;
    case 6: p.setCompositionMode(C::RasterOp_NotDestination); break;
    case 7: p.setCompositionMode(C::RasterOp_SourceXorDestination); break;
    case 8: p.setCompositionMode(C::RasterOp_NotSourceOrNotDestination); break;
    case 9: p.setCompositionMode(C::RasterOp_SourceAndDestination); break;
    case 10: p.setCompositionMode(C::RasterOp_NotSourceXorDestination); break;
    case 11: return false;
    case 12: p.setCompositionMode(C::RasterOp_NotSourceOrDestination); break;
    case 14: p.setCompositionMode(C::RasterOp_SourceOrNotDestination); break;
    case 15: p.setCompositionMode(C::RasterOp_SourceOrDestination); break;
    case 16: solid(Qt::white); break;
    default: p.setCompositionMode(C::CompositionMode_SourceOver); break;
  }
  return true;
}

}  // namespace gui_detail
