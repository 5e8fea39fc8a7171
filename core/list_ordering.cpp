// The list operations of the catalogue (see list_ordering.h).
#include "core/list_ordering.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "runtime/run_error.h"

bool строка_меньше(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  // memcmp compares as unsigned char, which is the order wanted.
  if (const int c = n ? std::memcmp(a.data(), b.data(), n) : 0; c != 0) return c < 0;
  return a.size() < b.size();
}

// Adjacent exchanges of strictly out-of-order neighbours never move equal elements past each
// other, so they end in the stable sorted order; a stable sort reaches the same list directly.
std::vector<std::string> sort(std::vector<std::string> list) {
  std::stable_sort(list.begin(), list.end(),
                   [](const std::string& a, const std::string& b) { return строка_меньше(a, b); });
  return list;
}

std::optional<std::vector<std::string>> perest(const std::vector<std::string>& list) {
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (строка_меньше(list[i + 1], list[i])) {
      std::vector<std::string> out = list;
      std::swap(out[i], out[i + 1]);
      return out;
    }
  }
  return std::nullopt;
}

std::vector<std::int32_t> sortdown(std::vector<std::int32_t> list) {
  std::stable_sort(list.begin(), list.end(), std::greater<>());
  return list;
}

std::optional<std::vector<std::int32_t>> perestdown(const std::vector<std::int32_t>& list) {
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (list[i] < list[i + 1]) {
      std::vector<std::int32_t> out = list;
      std::swap(out[i], out[i + 1]);
      return out;
    }
  }
  return std::nullopt;
}

bool входитвсписок(std::string_view s, const std::vector<std::string>& list) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::optional<std::int32_t> максэлсписка(const std::vector<std::int32_t>& list) {
  if (list.empty()) return std::nullopt;
  return *std::max_element(list.begin(), list.end());
}

std::int32_t найтиномерэл_в_списке(const std::vector<std::string>& list, std::string_view element,
                                  std::int32_t start) {
  const auto position = static_cast<std::int64_t>(std::find(list.begin(), list.end(), element) - list.begin());
  const std::int64_t index = start + position;
  if (index > INT32_MAX) RUN_Error(errcode::kIntOverflow);
  return static_cast<std::int32_t>(index);
}

std::vector<std::string> получитьсортировсписоккатегорий(const std::vector<std::string>& все_категории) {
  return sort(все_категории);
}
