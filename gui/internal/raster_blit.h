// The bitmap transfer of pictures: the source part stretched or shrunk to the destination by
// repeating or dropping whole rows and columns, combined with the destination and the brush by
// a ternary raster operation, written through the painter (so its clipping holds).
#pragma once

#include <QImage>
#include <QPainter>
#include <cstdint>

#include "layer/drawing.h"
#include "layer/types.h"

namespace gui_detail {

// The ternary operation (its truth table over brush, source and destination bits) of a raster
// operation code 1..15; any other code is operation 0 (all bits cleared: black).
std::uint8_t ternary_op(int code);
// The operation applied bit by bit to brush, source and destination colours.
std::uint32_t apply_ternary(std::uint8_t op, std::uint32_t pat, std::uint32_t src, std::uint32_t dst);

// Draws the part `src` of `image` (ARGB32; alpha 0 pixels leave the destination) into `dest`
// on the painter's device, a 32-bit image. Reversed rectangles mirror; source pixels outside
// the image leave the destination as it is.
void stretch_blit(QPainter& p, const QImage& image, Rect dest, Rect src, int rop_code, const DrawTools& tools);

}  // namespace gui_detail
