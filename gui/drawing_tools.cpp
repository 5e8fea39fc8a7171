// The drawing tools of a window: pen, brush, colours, background mode and draw mode, kept in the
// window record and selected into every drawing context of the window.
#include "layer/drawing.h"

#include "internal/paint_surface.h"
#include "internal/window_record.h"
#include "layer/font.h"

using namespace gui_detail;

namespace {

// The record whose tools change; a paint in progress draws on with the new tools.
WindowRecord& tools_record(Window win, SrcLoc loc = SrcLoc::current()) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind, loc);
  return checked_record(win, loc);
}

void reselect(WindowRecord& rec) {
  if (rec.paint_painter) apply_draw_tools(*rec.paint_painter, rec.tools);
}

}  // namespace

Color uix_ComposeRGB(int red, int green, int blue) {
  return static_cast<Color>(red & 0xFF) | static_cast<Color>(green & 0xFF) << 8 |
         static_cast<Color>(blue & 0xFF) << 16;
}

void win_SetPen(Window win, const Pen& pen) {
  WindowRecord& rec = tools_record(win);
  rec.tools.pen = pen;
  reselect(rec);
}

void win_SetBrush(Window win, const Brush& brush) {
  WindowRecord& rec = tools_record(win);
  rec.tools.brush = brush;
  reselect(rec);
}

void win_SetForeColor(Window win, Color color) { tools_record(win).tools.fore = color & 0xFFFFFF; }

void win_SetBackColor(Window win, Color color) {
  WindowRecord& rec = tools_record(win);
  rec.tools.back = color & 0xFFFFFF;
  reselect(rec);
}

void win_SetBackMode(Window win, int mode) {
  WindowRecord& rec = tools_record(win);
  rec.tools.back_mode = mode == bk_Transparent ? bk_Transparent : bk_Opaque;
  reselect(rec);
}

void win_SetDrawMode(Window win, int mode) { tools_record(win).tools.draw_mode = mode; }

void win_SetDrawTools(Window win, const DrawTools& tools) {
  WindowRecord& rec = tools_record(win);
  const std::optional<Font> old_font = rec.tools.font;
  rec.tools = tools;
  rec.tools.font = old_font;
  reselect(rec);
  if (tools.font && tools.font != old_font) win_SetFont(win, *tools.font);
}

DrawTools win_GetDrawTools(Window win) {
  DrawTools t = tools_record(win).tools;
  t.font = win_GetFont(win);
  return t;
}

DrawTools win_GetDefaultDrawTools() { return DrawTools{}; }
