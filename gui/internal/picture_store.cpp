// The picture table.
#include "internal/picture_store.h"

#include <cstring>
#include <unordered_map>

namespace gui_detail {
namespace {

struct Store {
  std::unordered_map<Picture, PictureEntry> entries;
  Picture next = 0x5000;
};

Store& store() {
  static Store s;
  return s;
}

}  // namespace

QImage to_qimage(const bitmap::Image& img) {
  QImage out(img.width, img.height, QImage::Format_ARGB32);
  if (out.isNull()) return out;
  for (int y = 0; y < img.height; ++y)
    std::memcpy(out.scanLine(y), img.pixels.data() + static_cast<std::size_t>(y) * img.width,
                static_cast<std::size_t>(img.width) * sizeof(std::uint32_t));
  return out;
}

Picture add_picture(std::vector<std::uint8_t> block, SrcLoc loc) {
  const std::optional<Picture> p = add_picture_if_valid(std::move(block), loc);
  if (!p) RUN_Error(errcode::kNotPicture, loc);
  return *p;
}

std::optional<Picture> add_picture_if_valid(std::vector<std::uint8_t> block, SrcLoc loc) {
  bitmap::Image decoded;
  switch (bitmap::decode_block(block, decoded)) {
    case bitmap::Status::not_a_picture: return std::nullopt;
    case bitmap::Status::too_large: RUN_Error(errcode::kLayerMemory, loc);
    case bitmap::Status::ok: break;
  }
  QImage image = to_qimage(decoded);
  if (image.isNull()) RUN_Error(errcode::kLayerMemory, loc);
  return add_picture(std::move(block), std::move(image));
}

Picture add_picture(std::vector<std::uint8_t> block, QImage image) {
  Store& s = store();
  const Picture handle = ++s.next;
  s.entries.emplace(handle, PictureEntry{std::move(block), std::move(image), {}});
  return handle;
}

const PictureEntry& checked_picture(Picture pict, SrcLoc loc) {
  const auto it = store().entries.find(pict);
  if (it == store().entries.end()) RUN_Error(errcode::kLayerMemory, loc);
  return it->second;
}

void remove_picture(Picture pict) { store().entries.erase(pict); }

void clear_pictures() { store().entries.clear(); }

}  // namespace gui_detail
