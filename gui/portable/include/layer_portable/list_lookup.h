// Looking a typed text up among list entries: an exact match first, else the first entry that
// begins with the text. An empty text matches nothing.
#pragma once

#include <string>
#include <vector>

namespace gui_detail {

// The position found, or -1.
int list_lookup(const std::vector<std::string>& entries, const std::string& text);

}  // namespace gui_detail
