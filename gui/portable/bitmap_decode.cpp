// Decoding of bitmap blocks and of bitmap and icon files from bytes, every read bounds-checked.
#include "layer_portable/bitmap_decode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace bitmap {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kOpaque = 0xFF000000u;

bool fits(Bytes b, std::uint64_t off, std::uint64_t n) { return off <= b.size() && n <= b.size() - off; }
std::uint16_t u16(Bytes b, std::size_t off) { return static_cast<std::uint16_t>(b[off] | b[off + 1] << 8); }
std::uint32_t u32(Bytes b, std::size_t off) {
  return static_cast<std::uint32_t>(b[off]) | static_cast<std::uint32_t>(b[off + 1]) << 8 |
         static_cast<std::uint32_t>(b[off + 2]) << 16 | static_cast<std::uint32_t>(b[off + 3]) << 24;
}

// One colour channel of a mask: where it sits and how many bits it has.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::countr_one(m >> shift);
    this->mask = ((bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u)) << shift;
  }
  // The channel's value scaled to 0..255.
  std::uint32_t value(std::uint32_t px) const {
    if (bits == 0) return 0;
    const std::uint32_t v = (px & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    return v * 255u / ((1u << bits) - 1u);
  }
};

// What the information header says, and where colour table and pixels lie in the block.
struct Header {
  std::uint32_t header_size = 0;
  int width = 0, height = 0;
  bool top_down = false;
  bool core = false;  // the old 12-byte header: 3-byte colour entries, no compression
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t size_image = 0;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  std::uint64_t table_offset = 0;
  std::uint64_t table_entries = 0;
  std::uint64_t pixel_offset = 0;
  std::uint64_t stride() const { return (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4; }
};

bool parse_header(Bytes b, Header& h) {
  if (b.size() < 4) return false;
  h.header_size = u32(b, 0);
  if (h.header_size == 12) {
    if (!fits(b, 0, 12)) return false;
    h.core = true;
    h.width = u16(b, 4);
    h.height = u16(b, 6);
    h.bits = u16(b, 10);
    if (h.width == 0 || h.height == 0) return false;
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24) return false;
    h.table_offset = 12;
    h.table_entries = h.bits <= 8 ? 1u << h.bits : 0;
    h.pixel_offset = h.table_offset + h.table_entries * 3;
    return fits(b, 0, h.pixel_offset);
  }
  if (h.header_size < 40 || !fits(b, 0, h.header_size)) return false;
  const auto w = static_cast<std::int32_t>(u32(b, 4));
  const auto hr = static_cast<std::int32_t>(u32(b, 8));
  if (w <= 0 || hr == 0 || hr == std::numeric_limits<std::int32_t>::min()) return false;
  h.width = w;
  h.top_down = hr < 0;
  h.height = hr < 0 ? -hr : hr;
  h.bits = u16(b, 14);
  h.compression = u32(b, 16);
  h.size_image = u32(b, 20);
  const std::uint32_t used = u32(b, 32);
  switch (h.compression) {
    case kRgb:
      if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32) return false;
      break;
    case kRle8: if (h.bits != 8 || h.top_down) return false; break;
    case kRle4: if (h.bits != 4 || h.top_down) return false; break;
    case kBitFields:
    case kAlphaBitFields:
      if (h.bits != 16 && h.bits != 32) return false;
      break;
    default: return false;  // embedded compressed images and unknown methods
  }
  std::uint64_t after = h.header_size;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    const int count = h.compression == kBitFields ? 3 : 4;
    if (h.header_size == 40) {  // the masks follow the header
      if (!fits(b, 40, 4u * count)) return false;
      for (int i = 0; i < count; ++i) h.masks[i] = u32(b, 40 + 4 * i);
      after += 4u * count;
    } else {
      for (int i = 0; i < count && 40u + 4 * i + 4 <= h.header_size; ++i) h.masks[i] = u32(b, 40 + 4 * i);
    }
  } else if (h.bits == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (h.bits == 32) {
    h.masks = {0xFF0000, 0xFF00, 0xFF, 0};
  }
  h.table_offset = after;
  h.table_entries = used != 0 ? used : (h.bits <= 8 ? 1u << h.bits : 0);
  h.pixel_offset = h.table_offset + h.table_entries * 4;
  return fits(b, 0, h.pixel_offset);
}

// The colour table as pixels; indices beyond its end are black.
std::array<std::uint32_t, 256> palette_of(Bytes b, const Header& h) {
  std::array<std::uint32_t, 256> pal;
  pal.fill(kOpaque);
  const std::size_t entry = h.core ? 3 : 4;
  const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(h.table_entries, 256));
  for (std::size_t i = 0; i < n && h.bits <= 8; ++i) {
    const std::size_t off = static_cast<std::size_t>(h.table_offset) + i * entry;
    pal[i] = kOpaque | static_cast<std::uint32_t>(b[off + 2]) << 16 | static_cast<std::uint32_t>(b[off + 1]) << 8 | b[off];
  }
  return pal;
}

Status decode_rows(Bytes b, const Header& h, Image& out, bool keep_alpha) {
  const std::uint64_t stride = h.stride();
  if (!fits(b, h.pixel_offset, stride * static_cast<std::uint64_t>(h.height))) return Status::not_a_picture;
  const auto pal = palette_of(b, h);
  const Channel r(h.masks[0]), g(h.masks[1]), bl(h.masks[2]), a(h.masks[3]);
  for (int row = 0; row < h.height; ++row) {
    const std::size_t src = static_cast<std::size_t>(h.pixel_offset + stride * static_cast<std::uint64_t>(row));
    const int y = h.top_down ? row : h.height - 1 - row;
    std::uint32_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
    const std::uint8_t* p = b.data() + src;
    for (int x = 0; x < h.width; ++x) {
      switch (h.bits) {
        case 1: dst[x] = pal[(p[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: dst[x] = pal[(x & 1) ? p[x >> 1] & 0x0F : p[x >> 1] >> 4]; break;
        case 8: dst[x] = pal[p[x]]; break;
        case 24: {
          const std::uint8_t* q = p + 3 * static_cast<std::size_t>(x);
          dst[x] = kOpaque | static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
          break;
        }
        default: {  // 16 and 32 bits through the masks
          const std::uint32_t px = h.bits == 16 ? u16(b, src + 2 * static_cast<std::size_t>(x))
                                                : u32(b, src + 4 * static_cast<std::size_t>(x));
          const std::uint32_t alpha = keep_alpha ? (h.bits == 32 && a.bits == 0 ? px >> 24 : a.value(px)) : 0xFF;
          dst[x] = alpha << 24 | r.value(px) << 16 | g.value(px) << 8 | bl.value(px);
        }
      }
    }
  }
  return Status::ok;
}

// Run-length compressed rows (bottom-up). Pixels that the stream skips keep alpha 0. A stream
// that ends without its end mark ends the picture there; one that breaks off inside a command
// is not a picture.
Status decode_rle(Bytes b, const Header& h, Image& out) {
  std::uint64_t end = b.size();
  if (h.size_image != 0) {
    if (!fits(b, h.pixel_offset, h.size_image)) return Status::not_a_picture;
    end = h.pixel_offset + h.size_image;
  }
  const auto pal = palette_of(b, h);
  const bool four = h.compression == kRle4;
  std::uint64_t pos = h.pixel_offset;
  std::int64_t x = 0, y = 0;
  auto put = [&](unsigned index) {
    if (x < h.width && y < h.height)
      out.pixels[static_cast<std::size_t>(h.height - 1 - y) * out.width + static_cast<std::size_t>(x)] = pal[index];
    ++x;
  };
  while (y < h.height && pos + 2 <= end) {
    const unsigned count = b[pos], value = b[pos + 1];
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count && x < h.width; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (pos + 2 > end) return Status::not_a_picture;
      x += b[pos];
      y += b[pos + 1];
      pos += 2;
    } else {  // a run of literal pixels, padded to a 16-bit boundary
      const unsigned bytes = four ? (value + 1) / 2 : value;
      if (pos + bytes > end) return Status::not_a_picture;
      for (unsigned i = 0; i < value; ++i) {
        const std::uint8_t byte = b[pos + (four ? i / 2 : i)];
        put(four ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
      }
      pos += bytes + (bytes & 1);
    }
  }
  return Status::ok;
}

Status decode_with(Bytes block, Image& out, std::uint64_t max_pixels, bool keep_alpha) {
  Header h;
  if (!parse_header(block, h)) return Status::not_a_picture;
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  if (!rle && !fits(block, h.pixel_offset, h.stride() * static_cast<std::uint64_t>(h.height)))
    return Status::not_a_picture;
  if (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height) > max_pixels) return Status::too_large;
  out.width = h.width;
  out.height = h.height;
  out.pixels.assign(static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.height), 0);
  const Status s = rle ? decode_rle(block, h, out) : decode_rows(block, h, out, keep_alpha);
  if (s != Status::ok) out = Image{};
  return s;
}

// The bytes of the first image of an icon file (its entry's offset and size), or none.
Bytes first_icon_image(Bytes file) {
  if (file.size() < 22 || u16(file, 0) != 0 || u16(file, 2) != 1 || u16(file, 4) == 0) return {};
  const std::uint32_t size = u32(file, 14), offset = u32(file, 18);
  if (!fits(file, offset, size)) return {};
  return file.subspan(offset, size);
}

}  // namespace

bool block_size(Bytes block, int& width, int& height) {
  if (block.size() < 4) return false;
  const std::uint32_t hs = u32(block, 0);
  if (hs == 12 ? !fits(block, 0, 12) : (hs < 40 || !fits(block, 0, 40))) return false;
  if (hs == 12) {
    width = u16(block, 4);
    height = u16(block, 6);
  } else {
    width = static_cast<std::int32_t>(u32(block, 4));
    const auto hr = static_cast<std::int32_t>(u32(block, 8));
    height = hr == std::numeric_limits<std::int32_t>::min() ? hr : (hr < 0 ? -hr : hr);
  }
  return true;
}

Status decode_block(Bytes block, Image& out, std::uint64_t max_pixels) {
  return decode_with(block, out, max_pixels, false);
}

std::vector<std::uint8_t> block_from_file(Bytes file) {
  if (file.size() > kFileHeaderSize && file[0] == 'B' && file[1] == 'M')
    return {file.begin() + kFileHeaderSize, file.end()};
  if (file.size() < 22 || u16(file, 0) != 0 || u16(file, 2) != 1 || u16(file, 4) == 0) return {};
  std::vector<std::uint8_t> block;
  if (u32(file, 18) == 22) {
    // The usual one-icon file: the image follows the directory and its entry; the block is the
    // file size minus 24 bytes long.
    if (file.size() < 24 + 9) return {};
    block.assign(file.begin() + 22, file.end() - 2);
  } else {
    // The first image lies elsewhere (several icons in the file): take it from its entry.
    const Bytes image = first_icon_image(file);
    block.assign(image.begin(), image.end());
  }
  if (block.size() < 9) return {};
  block[8] = file[7];  // only the colour image of the icon: its height from the entry
  return block;
}

Status decode_icon(Bytes file, Image& out, std::uint64_t max_pixels) {
  const Bytes image = first_icon_image(file);
  Header h;
  if (!parse_header(image, h) || h.core || h.top_down || h.height < 2) return Status::not_a_picture;
  // The header counts the colour rows and the mask rows below them.
  std::vector<std::uint8_t> colour(image.begin(), image.end());
  const std::uint32_t rows = static_cast<std::uint32_t>(h.height / 2);
  for (int i = 0; i < 4; ++i) colour[8 + i] = static_cast<std::uint8_t>(rows >> (8 * i));
  const Status s = decode_with(colour, out, max_pixels, true);
  if (s != Status::ok) return s;
  bool any_alpha = false;
  if (h.bits == 32)
    for (std::uint32_t& p : out.pixels) any_alpha = any_alpha || (p >> 24) != 0;
  if (any_alpha) return Status::ok;
  for (std::uint32_t& p : out.pixels) p |= kOpaque;
  const std::uint64_t mask_offset = h.pixel_offset + h.stride() * rows;
  const std::uint64_t mask_stride = (static_cast<std::uint64_t>(out.width) + 31) / 32 * 4;
  if (!fits(image, mask_offset, mask_stride * rows)) return Status::ok;  // no mask: all drawn
  for (int row = 0; row < out.height; ++row) {
    const std::size_t src = static_cast<std::size_t>(mask_offset + mask_stride * static_cast<std::uint64_t>(row));
    std::uint32_t* dst = out.pixels.data() + static_cast<std::size_t>(out.height - 1 - row) * out.width;
    for (int x = 0; x < out.width; ++x)
      if ((image[src + static_cast<std::size_t>(x >> 3)] >> (7 - (x & 7))) & 1) dst[x] &= 0x00FFFFFFu;
  }
  return Status::ok;
}

}  // namespace bitmap
