// The one place where the font block meets the toolkit: decoding and encoding the logical-font
// layout, and converting it to and from QFont.
#pragma once

#include <QFont>
#include <cstdint>
#include <string>

#include "layer/types.h"

namespace gui_detail {

struct LogFont {
  std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  std::uint8_t italic = 0, underline = 0, strike_out = 0, char_set = 0;
  std::uint8_t out_precision = 0, clip_precision = 0, quality = 0, pitch_and_family = 0;
  std::string face;  // cp1251, at most 31 bytes
};

// Pitch and family byte parts.
inline constexpr std::uint8_t kFixedPitch = 1, kVariablePitch = 2;
inline constexpr std::uint8_t kFamilyRoman = 0x10, kFamilySwiss = 0x20, kFamilyModern = 0x30,
                              kFamilyScript = 0x40, kFamilyDecorative = 0x50;

// Whether the block starts with the length 64.
bool is_font_block(const Font& f);
LogFont decode_font(const Font& f);
Font encode_font(const LogFont& lf);

// The screen's vertical pixels per inch (96 when there is no screen).
int screen_ppi_y();
// Rounded a * b / c, as the platform's multiply-divide.
std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c);

QFont to_qfont(const Font& f);
Font from_qfont(const QFont& qf);

}  // namespace gui_detail
