// The exact-then-prefix lookup of the list choice.
#include "layer_portable/list_lookup.h"

namespace gui_detail {

int list_lookup(const std::vector<std::string>& entries, const std::string& text) {
  if (text.empty()) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == text) return static_cast<int>(i);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].starts_with(text)) return static_cast<int>(i);
  return -1;
}

}  // namespace gui_detail
