// Plain values that cross the windowing layer: window handles, points, rectangles, colours and
// the font block. No toolkit type appears here.
#pragma once

#include <array>
#include <cstdint>

// A window of the layer, passed by value; 0 is no window.
using Window = std::uint32_t;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, right, bottom; right and bottom lie just outside the rectangle.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour as 0x00BBGGRR (red in the low byte).
using Color = std::uint32_t;

// The font value: a 64-byte block, a 32-bit length (64) followed by the 60-byte logical-font
// description (see layer/font.h for the layout). Plain data: it can be stored and copied freely.
inline constexpr std::size_t kFontBlockSize = 64;
struct Font {
  std::array<std::uint8_t, kFontBlockSize> bytes{};
  friend bool operator==(const Font&, const Font&) = default;
};
