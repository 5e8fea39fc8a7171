// Pictures made from the toolkit's images (files in the formats it reads, the clipboard): the
// image laid on white, turned into a 24-bit packed bitmap block, and kept in the picture table.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "layer/picture.h"

namespace gui_detail {

// The image with every transparent or half-transparent pixel laid on white, as opaque ARGB32.
QImage opaque_image(const QImage& image);
// The packed bitmap block of an opaque image: a 40-byte information header, no colour table,
// 24-bit rows bottom row first, each padded to 4 bytes.
std::vector<std::uint8_t> block_of_image(const QImage& opaque);
// A new picture of the image (any format of the toolkit); 6002 when memory runs out.
Picture picture_of_image(const QImage& image);

}  // namespace gui_detail
