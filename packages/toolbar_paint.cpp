// Drawing and measuring toolbars and tooltips with the layer's pictures and drawing operations:
// the background colour, two frame lines, each button's up, down or grey bitmap, text fields in
// a frame of two lines, and the tooltip's framed text.
#include "toolbar_internal.h"

#include "runtime/scope_exit.h"

namespace toolbar_detail {
namespace {

constexpr Color kLight = 0xFFFFFF;
constexpr Color kDark = 0x808080;
constexpr Color kBlack = 0x000000;
constexpr Color kTipBack = 0xE1FFFF;  // pale yellow
// The room between a text and its frame.
constexpr int kTextInset = 2;
constexpr int kTipPadX = 4;
constexpr int kTipPadY = 2;

void line(Window w, Color c, Point from, Point to) {
  win_SetPen(w, Pen{1, ps_Solid, c});
  draw_Line(w, from, to);
}

// A picture from the resources, drawn and freed again (also when the drawing fails).
void draw_bitmap(Window w, std::int32_t res_id, Point at) {
  const Picture p = pict_GetFromRes(res_id);
  const auto destroyed = on_scope_exit([p] { pict_Destroy(p); });
  pict_Draw(w, p, at, rop_SrcCopy);
}

Font field_font(const tb_text& f) { return font_Create(f.family, {}, f.size); }

// The bitmap a button shows now: grey when disabled, down while held with the mouse over it.
std::int32_t button_bitmap(Window toolbar, const ControlRecord& c, const tb_ctrl& b) {
  const auto* v = std::get_if<ctrl_value>(&c.value);
  if (v && !v->enabled) return b.grey;
  const std::optional<HeldRecord> h = held();
  if (h && h->toolbar == toolbar && h->control == c.index) {
    const std::optional<TipRecord> tip = tip_of(toolbar);
    if (!tip || rect_PntInside(Rect{c.left, c.top, c.right - 1, c.bottom - 1}, Point{tip->last_x, tip->last_y}))
      return b.down;
  }
  return b.up;
}

void paint_field(Window w, const ControlRecord& c, const tb_text& f) {
  // Sunken: dark above and left, light below and right, just outside the field.
  const Rect r = c.rect();
  line(w, kDark, Point{r.left - 1, r.top - 1}, Point{r.right + 1, r.top - 1});
  line(w, kDark, Point{r.left - 1, r.top - 1}, Point{r.left - 1, r.bottom + 1});
  line(w, kLight, Point{r.left - 1, r.bottom}, Point{r.right + 1, r.bottom});
  line(w, kLight, Point{r.right, r.top - 1}, Point{r.right, r.bottom + 1});
  const auto* v = std::get_if<text_value>(&c.value);
  if (!v || v->text.empty()) return;
  win_SetFont(w, field_font(f));
  win_SetForeColor(w, f.color);
  win_SetBackMode(w, bk_Transparent);
  draw_TextInRect(w, Rect{r.left + kTextInset, r.top, r.right - kTextInset, r.bottom}, v->text, -1,
                  {dtext_Left, dtext_SingleLine, dtext_VCenter, dtext_NoPrefix});
}

}  // namespace

Size measure_bitmap(std::int32_t res_id) {
  const Picture p = pict_GetFromRes(res_id);
  Size s;
  int bytes = 0;
  pict_GetSize(p, s.width, s.height, bytes);
  pict_Destroy(p);
  return s;
}

int measure_text_height(Window toolbar, const tb_text& field) {
  win_SetFont(toolbar, field_font(field));
  int width = 0, height = 0;
  win_GetTextExtent(toolbar, "Wy", -1, width, height);
  return height;
}

void paint_toolbar(Window toolbar) {
  const std::optional<ToolbarRecord> tb = find_toolbar(toolbar);
  if (!tb) return;
  const Rect client = win_GetClientRect(toolbar);
  win_SetPen(toolbar, Pen{1, ps_Hollow, tb->background});
  win_SetBrush(toolbar, Brush{pat_Solid, tb->background});
  draw_Rect(toolbar, client);
  // Two frame lines: light on the outer side, dark on the side of the client area.
  if (is_vertical(tb->placement)) {
    line(toolbar, kLight, Point{0, 0}, Point{0, client.bottom});
    line(toolbar, kDark, Point{client.right - 1, 0}, Point{client.right - 1, client.bottom});
  } else {
    line(toolbar, kLight, Point{0, 0}, Point{client.right, 0});
    line(toolbar, kDark, Point{0, client.bottom - 1}, Point{client.right, client.bottom - 1});
  }
  for (const ControlRecord& c : controls_of(toolbar)) {
    if (const auto* b = std::get_if<tb_ctrl>(&c.def))
      draw_bitmap(toolbar, button_bitmap(toolbar, c, *b), Point{c.left, c.top});
    else if (const auto* f = std::get_if<tb_text>(&c.def))
      paint_field(toolbar, c, *f);
  }
}

Font tooltip_font() { return font_Create(ff_Helvetica, {}, 8); }

Size measure_tooltip(Window tip, const std::string& text) {
  int width = 0, height = 0;
  win_GetTextExtent(tip, text, -1, width, height);
  return Size{width + 2 * kTipPadX, height + 2 * kTipPadY};
}

void paint_tooltip(Window tip, const std::string& text) {
  const Rect r = win_GetClientRect(tip);
  win_SetPen(tip, Pen{1, ps_Solid, kBlack});
  win_SetBrush(tip, Brush{pat_Solid, kTipBack});
  draw_Rect(tip, r);
  win_SetForeColor(tip, kBlack);
  win_SetBackMode(tip, bk_Transparent);
  draw_TextInRect(tip, Rect{r.left + kTipPadX, r.top, r.right - kTipPadX, r.bottom}, text, -1,
                  {dtext_Left, dtext_SingleLine, dtext_VCenter, dtext_NoPrefix});
}

}  // namespace toolbar_detail
