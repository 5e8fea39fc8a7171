// The order of sorted list lines (see list_order.h): one weight per cp1251 byte, then the bytes.
#include "runtime/list_order.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// Primary weight of each cp1251 byte: other characters keep their byte value (0..255), digits
// come after them, then Latin and Cyrillic letters, upper and lower case alike.
constexpr std::array<std::uint16_t, 256> make_weights() {
  std::array<std::uint16_t, 256> w{};
  for (int b = 0; b < 256; ++b) w[b] = static_cast<std::uint16_t>(b);
  for (int d = 0; d < 10; ++d) w['0' + d] = static_cast<std::uint16_t>(300 + d);
  for (int l = 0; l < 26; ++l) w['A' + l] = w['a' + l] = static_cast<std::uint16_t>(400 + l);
  // А..Я are 0xC0..0xDF, а..я 0xE0..0xFF; Ё 0xA8, ё 0xB8 sort right after е.
  for (int l = 0; l < 32; ++l) {
    const auto weight = static_cast<std::uint16_t>(500 + 2 * l + (l > 5 ? 2 : 0));
    w[0xC0 + l] = w[0xE0 + l] = weight;
  }
  w[0xA8] = w[0xB8] = static_cast<std::uint16_t>(500 + 2 * 5 + 1);
  return w;
}

constexpr std::array<std::uint16_t, 256> kWeight = make_weights();

}  // namespace

int PSTR_ListCompare(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto wa = kWeight[static_cast<unsigned char>(a[i])];
    const auto wb = kWeight[static_cast<unsigned char>(b[i])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
