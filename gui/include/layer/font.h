// Fonts as values. The block: bytes 0..3 the length 64; then height, width, escapement,
// orientation, weight (32-bit each, little-endian; a negative height is the character height in
// pixels), italic, underline, strike-out, character set, output precision, clip precision,
// quality, pitch and family (one byte each), face name (32 bytes, cp1251, NUL-terminated).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layer/types.h"

// Font families: 1 "System", 2 "Courier New" (fixed pitch), 3 "Times New Roman" (roman),
// 4 "Arial" (swiss), other "System". Styles: 1 bold, 2 italic, 4 underline.
enum FontFamily : int { ff_System = 1, ff_Fixed = 2, ff_Times = 3, ff_Helvetica = 4 };
enum FontStyle : int { fs_Bold = 1, fs_Italic = 2, fs_UnderLine = 4 };

// Size in points; the height becomes -(|size| * vertical pixels per inch / 72), rounded.
Font font_Create(int family, const std::vector<int>& styles, int size);
// A copy with weight, italic and underline set from `styles` and, when size != 0, a new height.
Font font_SetAttrs(const Font& font, const std::vector<int>& styles, int size);
// The styles (bold, italic, underline, in that order) and the size in points.
void font_GetAttrs(const Font& font, std::vector<int>& styles, int& size);
// Gives the window the font (controls show it at once; other windows draw with it and receive
// e_state(font)). 6150 for a block that is not a font; 6001 for the screen and icons.
void win_SetFont(Window win, const Font& font);
// The window's font; a new 10-point "System" font when it has none.
Font win_GetFont(Window win);

// The face name (cp1251) of the block.
std::string font_FaceName(const Font& font);
// The block as bytes and back; fails for anything but 64 bytes that start with the length 64.
std::string font_ToBytes(const Font& font);
std::optional<Font> font_FromBytes(std::string_view bytes);
