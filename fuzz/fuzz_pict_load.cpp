// Fuzzes the picture decoding that pict_Load does on a file's bytes: the block of a bitmap or
// icon file, its header, colour table and pixel rows, and the icon with its mask.
#include <cstddef>
#include <cstdint>

#include "layer_portable/bitmap_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bitmap::Bytes file(data, size);
  // A limit that keeps each run small; the checks do not depend on it.
  constexpr std::uint64_t kLimit = std::uint64_t(1) << 22;
  const std::vector<std::uint8_t> block = bitmap::block_from_file(file);
  if (!block.empty()) {
    bitmap::Image img;
    if (bitmap::decode_block(block, img, kLimit) == bitmap::Status::ok) {
      int w = 0, h = 0;
      if (!bitmap::block_size(block, w, h) || w != img.width || h != img.height) __builtin_trap();
      if (img.pixels.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) __builtin_trap();
    }
  }
  bitmap::Image icon;
  (void)bitmap::decode_icon(file, icon, kLimit);
  return 0;
}
