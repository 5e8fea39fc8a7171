// The table of pictures: handle -> the picture's block and its decoded pixels. Handles are never
// reused within the process, so a destroyed picture's handle stays invalid.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <vector>

#include "layer/picture.h"
#include "layer_portable/bitmap_decode.h"
#include "runtime/run_error.h"

namespace gui_detail {

struct PictureEntry {
  std::vector<std::uint8_t> block;  // the packed bitmap block, as loaded
  QImage image;                      // its pixels, ARGB32 (alpha 0: not drawn)
  mutable QImage fitted;             // the last smooth scaling of it (pict_DrawFit)
};

// Decodes the block and keeps it: not a picture 6101, too large 6002.
Picture add_picture(std::vector<std::uint8_t> block, SrcLoc loc = SrcLoc::current());
// The same with nothing, not 6101, for a block that is no picture.
std::optional<Picture> add_picture_if_valid(std::vector<std::uint8_t> block, SrcLoc loc = SrcLoc::current());
// Keeps a block together with its pixels, decoded already (ARGB32).
Picture add_picture(std::vector<std::uint8_t> block, QImage image);
// The live picture, or run-time error 6002 (the block cannot be locked).
const PictureEntry& checked_picture(Picture pict, SrcLoc loc = SrcLoc::current());
void remove_picture(Picture pict);
// Drops every picture (the layer's reset); handles go on counting.
void clear_pictures();
// Decoded pixels as an ARGB32 image.
QImage to_qimage(const bitmap::Image& img);

}  // namespace gui_detail
