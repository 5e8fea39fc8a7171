// Font block layout and its conversion to and from QFont.
#include "internal/font_block.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "internal/text.h"

namespace gui_detail {
namespace {

constexpr std::size_t kFaceOffset = 4 + 28;  // after the length, five 32-bit and eight 8-bit fields
constexpr std::size_t kFaceSize = 32;

void put32(Font& f, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) f.bytes[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}
std::int32_t get32(const Font& f, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(f.bytes[at + i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

}  // namespace

bool is_font_block(const Font& f) { return get32(f, 0) == static_cast<std::int32_t>(kFontBlockSize); }

LogFont decode_font(const Font& f) {
  LogFont lf;
  lf.height = get32(f, 4);
  lf.width = get32(f, 8);
  lf.escapement = get32(f, 12);
  lf.orientation = get32(f, 16);
  lf.weight = get32(f, 20);
  lf.italic = f.bytes[24];
  lf.underline = f.bytes[25];
  lf.strike_out = f.bytes[26];
  lf.char_set = f.bytes[27];
  lf.out_precision = f.bytes[28];
  lf.clip_precision = f.bytes[29];
  lf.quality = f.bytes[30];
  lf.pitch_and_family = f.bytes[31];
  const auto* face = reinterpret_cast<const char*>(&f.bytes[kFaceOffset]);
  lf.face.assign(face, strnlen(face, kFaceSize));
  return lf;
}

Font encode_font(const LogFont& lf) {
  Font f;
  put32(f, 0, static_cast<std::int32_t>(kFontBlockSize));
  put32(f, 4, lf.height);
  put32(f, 8, lf.width);
  put32(f, 12, lf.escapement);
  put32(f, 16, lf.orientation);
  put32(f, 20, lf.weight);
  f.bytes[24] = lf.italic;
  f.bytes[25] = lf.underline;
  f.bytes[26] = lf.strike_out;
  f.bytes[27] = lf.char_set;
  f.bytes[28] = lf.out_precision;
  f.bytes[29] = lf.clip_precision;
  f.bytes[30] = lf.quality;
  f.bytes[31] = lf.pitch_and_family;
  const std::size_t n = std::min(lf.face.size(), kFaceSize - 1);  // keeps the terminating NUL
  std::memcpy(&f.bytes[kFaceOffset], lf.face.data(), n);
  return f;
}

int screen_ppi_y() {
  if (qGuiApp)
    if (const QScreen* s = QGuiApplication::primaryScreen())
      return std::max(1, qRound(s->logicalDotsPerInchY()));
  return 96;
}

std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -c : c) / 2;
  const std::int64_t r = ((p < 0) != (c < 0)) ? (p - half) / c : (p + half) / c;
  return static_cast<std::int32_t>(r);
}

QFont to_qfont(const Font& f) {
  const LogFont lf = decode_font(f);
  QFont q(to_qt(lf.face));
  // A negative height is the character (em) height; a positive one the cell height, of which
  // the character takes about seven eighths.
  if (lf.height < 0) q.setPixelSize(-lf.height);
  else if (lf.height > 0) q.setPixelSize(std::max(1, lf.height * 7 / 8));
  const int weight = lf.weight <= 0 ? 400 : std::clamp<int>(lf.weight, 1, 1000);
  q.setWeight(static_cast<QFont::Weight>(weight));
  q.setItalic(lf.italic != 0);
  q.setUnderline(lf.underline != 0);
  q.setStrikeOut(lf.strike_out != 0);
  q.setFixedPitch((lf.pitch_and_family & 0x03) == kFixedPitch);
  switch (lf.pitch_and_family & 0xF0) {
    case kFamilyRoman: q.setStyleHint(QFont::Serif); break;
    case kFamilySwiss: q.setStyleHint(QFont::SansSerif); break;
    case kFamilyModern: q.setStyleHint(QFont::TypeWriter); break;
    case kFamilyScript: q.setStyleHint(QFont::Cursive); break;
    case kFamilyDecorative: q.setStyleHint(QFont::Decorative); break;
    default: break;
  }
  return q;
}

Font from_qfont(const QFont& qf) {
  LogFont lf;
  int px = qf.pixelSize();
  if (px <= 0) px = qRound(qf.pointSizeF() * screen_ppi_y() / 72.0);
  lf.height = -px;
  lf.weight = qf.weight();
  lf.italic = qf.italic() ? 1 : 0;
  lf.underline = qf.underline() ? 1 : 0;
  lf.strike_out = qf.strikeOut() ? 1 : 0;
  lf.out_precision = 3;
  lf.clip_precision = 2;
  lf.quality = 1;
  const bool fixed = qf.fixedPitch() || qf.styleHint() == QFont::TypeWriter;
  std::uint8_t family = 0;
  switch (qf.styleHint()) {
    case QFont::Serif: family = kFamilyRoman; break;
    case QFont::SansSerif: family = kFamilySwiss; break;
    case QFont::TypeWriter: family = kFamilyModern; break;
    case QFont::Cursive: family = kFamilyScript; break;
    case QFont::Decorative: family = kFamilyDecorative; break;
    default: break;
  }
  lf.pitch_and_family = static_cast<std::uint8_t>((fixed ? kFixedPitch : kVariablePitch) | family);
  lf.face = from_qt(qf.family());
  if (lf.face.size() > kFaceSize - 1) lf.face.resize(kFaceSize - 1);
  return encode_font(lf);
}

}  // namespace gui_detail
