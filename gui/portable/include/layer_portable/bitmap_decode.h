// Decoding of pictures from bytes, without the toolkit: the packed bitmap block (information
// header, colour masks, colour table, pixel rows) into 32-bit pixels, and the picture block of a
// bitmap or icon file. Every read is checked against the size of the bytes given: a header,
// colour table or pixel rows that do not fit make the input "not a picture", never a read
// outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace bitmap {

using Bytes = std::span<const std::uint8_t>;

enum class Status { ok, not_a_picture, too_large };

// Pixels are 0xAARRGGBB, rows top first. Alpha 0xFF is a drawn pixel; alpha 0 marks a pixel
// that a compressed bitmap skips (its destination stays as it is) or that an icon's mask
// leaves transparent.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Pictures beyond this many pixels are refused as too large (memory).
inline constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 26;

// Width and height of the block's header (the height positive whatever the row order);
// false when the header itself is not readable.
bool block_size(Bytes block, int& width, int& height);

// Decodes a packed bitmap block: every bit depth (1, 4, 8, 16, 24, 32), no compression,
// run-length compression of 4 and 8 bits, colour masks, rows bottom-up or top-down, and the
// old 12-byte header.
Status decode_block(Bytes block, Image& out, std::uint64_t max_pixels = kMaxPixels);

// The picture block of a file: a bitmap file ("BM") gives everything after its 14-byte file
// header; an icon file gives the colour image of its first icon (the header's height is
// replaced by the icon's height, so that the mask below the colour rows is not part of the
// picture). Empty when the bytes are neither.
std::vector<std::uint8_t> block_from_file(Bytes file);

// The first image of an icon file for drawing with its transparency: a 32-bit image keeps its
// own alpha, other depths take alpha 0 where the mask below the colour rows is set.
Status decode_icon(Bytes file, Image& out, std::uint64_t max_pixels = kMaxPixels);

}  // namespace bitmap
