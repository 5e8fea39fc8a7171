// Drawing on windows: pens, brushes, colours, lines, rectangles, text, icons, metrics and mapping.
// Every drawing operation works on the paint context while the window's e_update runs, and
// otherwise on a fresh context of the window's surface with the window's tools (shown at once).
// Windows that cannot be drawn on (controls, dialogs, the screen) are run-time error 6001;
// drawing while the window's e_erasebackground is delivered is run-time error 6231.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "layer/types.h"
#include "layer/window.h"

// A colour from its red, green and blue parts (0..255 each).
Color uix_ComposeRGB(int red, int green, int blue);

// Pen styles; any other value draws solid.
enum PenStyle : int { ps_Solid = 0, ps_Dash = 1, ps_Dot = 2, ps_DashDot = 3, ps_DashDotDot = 4, ps_Hollow = 5 };
// Brush styles: 0 and 2 solid, 1 hollow, 3..8 hatched.
enum BrushStyle : int {
  pat_Solid = 0, pat_Hollow = 1, pat_Horz = 3, pat_Vert = 4, pat_FDiag = 5, pat_BDiag = 6,
  pat_Cross = 7, pat_DiagCross = 8
};
// Background modes: 1 transparent, any other value opaque.
enum BackMode : int { bk_Transparent = 1, bk_Opaque = 2 };
// Draw modes (raster operations for lines and figures) 1..16; 13 plain copy of the pen.
enum DrawMode : int {
  dm_Black = 1, dm_NotMergePen = 2, dm_MaskNotPen = 3, dm_NotCopyPen = 4, dm_MaskPenNot = 5,
  dm_Not = 6, dm_XorPen = 7, dm_NotMaskPen = 8, dm_MaskPen = 9, dm_NotXorPen = 10, dm_Nop = 11,
  dm_MergeNotPen = 12, dm_CopyPen = 13, dm_MergePenNot = 14, dm_MergePen = 15, dm_White = 16
};

struct Pen {
  int width = 1;  // 0 is one pixel, as 1
  int style = ps_Solid;
  Color color = 0x000000;
  friend bool operator==(const Pen&, const Pen&) = default;
};
struct Brush {
  int style = pat_Solid;
  Color color = 0xFFFFFF;
  friend bool operator==(const Brush&, const Brush&) = default;
};
// All drawing tools of a window at once.
struct DrawTools {
  Pen pen;
  Brush brush;
  std::optional<Font> font;  // none: the layer's default font
  Color fore = 0x000000;     // text colour
  Color back = 0xFFFFFF;     // text background colour
  int draw_mode = dm_CopyPen;
  int back_mode = bk_Opaque;
  friend bool operator==(const DrawTools&, const DrawTools&) = default;
};

void win_SetPen(Window win, const Pen& pen);
void win_SetBrush(Window win, const Brush& brush);
void win_SetForeColor(Window win, Color color);
void win_SetBackColor(Window win, Color color);
void win_SetBackMode(Window win, int mode);
void win_SetDrawMode(Window win, int mode);
// Replaces every tool; a font in the set is given to the window as by win_SetFont.
void win_SetDrawTools(Window win, const DrawTools& tools);
// The window's tools, with its font filled in.
DrawTools win_GetDrawTools(Window win);
// The set a new window starts with.
DrawTools win_GetDefaultDrawTools();

// Outlined with the pen and filled with the brush; the outline covers left..right-1 and
// top..bottom-1.
void draw_Rect(Window win, Rect rect);
// From `from` up to, not including, `to`.
void draw_Line(Window win, Point from, Point to);
// Lines through the points; the last point is not drawn.
void draw_Polyline(Window win, const std::vector<Point>& points);
// One pixel in `color`, whatever the pen and draw mode.
void draw_Pixel(Window win, Point point, Color color);
// The figures below take `rect` as draw_Rect does (the outline covers left..right-1 and
// top..bottom-1), draw with the pen and fill with the brush in the draw mode.
void draw_Ellipse(Window win, Rect rect);
// The arc of the ellipse in `rect` that runs counterclockwise from the ray out of the centre
// through `start` to the ray through `end`; two points on one ray give the whole ellipse.
void draw_Arc(Window win, Rect rect, Point start, Point end);
// The same arc closed by the two radii and filled.
void draw_Pie(Window win, Rect rect, Point start, Point end);
// The closed polygon through the points, filled by the alternate rule (a point is inside when
// a ray from it crosses the outline an odd number of times). Fewer than two points draw nothing.
void draw_Polygon(Window win, const std::vector<Point>& points);
// A rectangle whose corners are quarters of an ellipse `corner_width` wide and `corner_height`
// high.
void draw_RoundRect(Window win, Rect rect, int corner_width, int corner_height);
// Fills with the brush every pixel reachable from `point` through left, right, up and down steps
// without crossing a pixel of colour `boundary` or leaving the window (or, inside e_update, the
// rectangle being repainted). Fails, drawing nothing, when the point lies outside that area or
// has the boundary colour itself.
bool draw_FloodFill(Window win, Point point, Color boundary);
// Text (cp1251; `len` bytes of it, -1 for all) with its baseline at (x, y), in the window's
// font, text colour, background colour and background mode.
void draw_Text(Window win, int x, int y, const std::string& text, int len = -1);

// The flags of draw_TextInRect, each an element of the flag list. For dtext_TabStop the tab
// size in average character widths sits in the element's second byte: dtext_TabStop | (n << 8).
enum DrawTextFlag : int {
  dtext_Bottom = 0, dtext_Center = 2, dtext_ExpandTabs = 3, dtext_ExternalLeading = 4,
  dtext_Left = 5, dtext_NoClip = 6, dtext_NoPrefix = 7, dtext_Right = 8, dtext_SingleLine = 9,
  dtext_TabStop = 10, dtext_Top = 11, dtext_VCenter = 12, dtext_WordBreak = 13
};
// Text formatted inside `rect`; without dtext_NoPrefix "&x" underlines x and "&&" is "&".
void draw_TextInRect(Window win, Rect rect, const std::string& text, int len, const std::vector<int>& flags);
// The icon resource `res_id` with its top left corner at (x, y), transparent where its mask
// says so. A missing resource is run-time error 6054, one that is no icon 6101.
void draw_Icon(Window win, int x, int y, int res_id);

// Size of the text (cp1251, `len` bytes, -1 for all) on one line in the window's font.
void win_GetTextExtent(Window win, const std::string& text, int len, int& width, int& height);
// The metrics of the window's font, in pixels.
struct FontMetrics {
  int height = 0;            // ascent + descent
  int ascent = 0;
  int descent = 0;
  int internal_leading = 0;  // room for accents inside the height
  int external_leading = 0;  // extra room between lines
  int ave_char_width = 0;
  int max_char_width = 0;
};
FontMetrics win_GetFontMetrics(Window win);

// Marks `rect` of the client area for repaint with background erase.
void win_Invalidate(Window win, Rect rect);

// Whether the point lies inside the rectangle, edges included.
bool rect_PntInside(Rect rect, Point point);
// The points, given in the client coordinates of `from`, in those of `to` (the screen window
// for screen coordinates).
std::vector<Point> win_MapPoints(Window from, Window to, const std::vector<Point>& points);

// Lets pending events run from inside a handler; does nothing while an e_erasebackground or a
// hooked event (win_EnableHook) is delivered. The form with a flag of 0 runs only paints and timers and drops pending input.
void uix_ProcessEvents();
void uix_ProcessEvents(int flag);
