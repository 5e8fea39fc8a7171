// Fonts as values: font_Create, font_SetAttrs, font_GetAttrs, win_SetFont and win_GetFont.
#include "layer/font.h"

#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <cstring>

#include "internal/dispatch.h"
#include "internal/font_block.h"
#include "internal/window_record.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

struct FamilyDef {
  std::string_view face;
  std::uint8_t pitch_and_family;
};

FamilyDef family_def(int family) {
  switch (family) {
    case ff_Fixed: return {"Courier New", kFixedPitch};
    case ff_Times: return {"Times New Roman", kVariablePitch | kFamilyRoman};
    case ff_Helvetica: return {"Arial", kVariablePitch | kFamilySwiss};
    default: return {"System", kVariablePitch};
  }
}

bool has(const std::vector<int>& styles, int s) {
  return std::find(styles.begin(), styles.end(), s) != styles.end();
}

void apply_styles(LogFont& lf, const std::vector<int>& styles) {
  lf.weight = has(styles, fs_Bold) ? 700 : 400;
  lf.italic = has(styles, fs_Italic) ? 1 : 0;
  lf.underline = has(styles, fs_UnderLine) ? 1 : 0;
}

std::int32_t height_of(int size) { return -mul_div(std::abs(size), screen_ppi_y(), 72); }

bool is_control_kind(int kind) { return (kind >= wk_PushButton && kind <= wk_GroupBox) || kind == wk_ListView; }

}  // namespace

Font font_Create(int family, const std::vector<int>& styles, int size) {
  const FamilyDef def = family_def(family);
  LogFont lf;
  lf.height = height_of(size);
  apply_styles(lf, styles);
  lf.out_precision = 3;
  lf.clip_precision = 2;
  lf.quality = 1;
  lf.pitch_and_family = def.pitch_and_family;
  lf.face = std::string(def.face);
  return encode_font(lf);
}

Font font_SetAttrs(const Font& font, const std::vector<int>& styles, int size) {
  LogFont lf = decode_font(font);
  apply_styles(lf, styles);
  if (size != 0) lf.height = height_of(size);
  return encode_font(lf);
}

void font_GetAttrs(const Font& font, std::vector<int>& styles, int& size) {
  const LogFont lf = decode_font(font);
  styles.clear();
  if (lf.weight >= 600) styles.push_back(fs_Bold);
  if (lf.italic) styles.push_back(fs_Italic);
  if (lf.underline) styles.push_back(fs_UnderLine);
  size = mul_div(std::abs(lf.height), 72, screen_ppi_y());
}

void win_SetFont(Window win, const Font& font) {
  if (win == kScreenWindow) RUN_Error(errcode::kWrongKind);
  WindowRecord& r = checked_record(win);
  if (r.kind == wk_Icon) RUN_Error(errcode::kWrongKind);
  if (!is_font_block(font)) RUN_Error(errcode::kFontNotCreated);
  const QFont qf = to_qfont(font);
  r.tools.font = font;
  if (is_control_kind(r.kind)) {
    if (r.client) r.client->setFont(qf);
    return;
  }
  if (r.paint_painter) r.paint_painter->setFont(qf);
  deliver(win, e_state{::font{font}});
}

Font win_GetFont(Window win) {
  const WindowRecord& r = checked_record(win);
  if (r.tools.font) return *r.tools.font;
  const bool own_font = r.kind == wk_ModalDialog || r.kind == wk_ModelessDialog || is_control_kind(r.kind);
  if (own_font && r.client) return from_qfont(r.client->font());
  return font_Create(ff_System, {}, 10);
}

std::string font_FaceName(const Font& font) { return decode_font(font).face; }

std::string font_ToBytes(const Font& font) {
  return std::string(reinterpret_cast<const char*>(font.bytes.data()), font.bytes.size());
}

std::optional<Font> font_FromBytes(std::string_view bytes) {
  if (bytes.size() != kFontBlockSize) return std::nullopt;
  Font f;
  std::memcpy(f.bytes.data(), bytes.data(), kFontBlockSize);
  if (!is_font_block(f)) return std::nullopt;
  return f;
}
