// A window made ready for one drawing operation: the checks every drawing operation makes
// (6000 not a window; 6001 a window that cannot be drawn on; 6231 while its
// e_erasebackground is delivered), the drawing context (the paint context during e_update,
// otherwise a fresh one on the window's surface) and the window's current tools selected into it.
#pragma once

#include <optional>

#include "internal/paint_surface.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

namespace gui_detail {

// The record of a window that can be drawn on now, or the run-time error.
WindowRecord& drawable_record(Window win, SrcLoc loc = SrcLoc::current());

class DrawTarget {
 public:
  explicit DrawTarget(Window win, SrcLoc loc = SrcLoc::current());
  QPainter& painter() { return *painter_; }
  const DrawTools& tools() const { return rec_->tools; }

 private:
  WindowRecord* rec_;
  std::optional<DrawContext> dc_;
  QPainter* painter_ = nullptr;
};

// Selects the draw mode (1..16; other values copy the pen) for lines and figures: the raster
// operation between pen or brush and the destination. False for mode 11, which draws nothing.
bool select_draw_mode(QPainter& p, int draw_mode);

}  // namespace gui_detail
