// Filter matching and the extension rule of the file chooser.
#include "layer_portable/file_filters.h"

namespace gui_detail {
namespace {

bool match_one(std::string_view p, std::string_view s) {
  if (p.empty()) return s.empty();
  if (p[0] == '*') {
    // Any run of characters up to the next point: try every length of it.
    std::size_t run = 0;
    while (run < s.size() && s[run] != '.') ++run;
    for (std::size_t k = 0; k <= run; ++k)
      if (match_one(p.substr(1), s.substr(k))) return true;
    return false;
  }
  if (s.empty()) return false;
  if (p[0] == '?') return s[0] != '.' && match_one(p.substr(1), s.substr(1));
  return p[0] == s[0] && match_one(p.substr(1), s.substr(1));
}

}  // namespace

bool name_matches(std::string_view pattern, std::string_view name) {
  std::size_t start = 0;
  while (start <= pattern.size()) {
    std::size_t end = pattern.find(';', start);
    if (end == std::string_view::npos) end = pattern.size();
    if (match_one(pattern.substr(start, end - start), name)) return true;
    start = end + 1;
  }
  return false;
}

std::size_t preselected_filter(const std::vector<std::string>& filters, std::string_view name) {
  for (std::size_t i = 0; i + 1 < filters.size(); i += 2)
    if (name_matches(filters[i + 1], name)) return i / 2;
  return 0;
}

std::string filter_extension(std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  if (point == std::string_view::npos) return {};
  const std::string_view rest = pattern.substr(point + 1);
  return std::string(rest.substr(0, rest.find_first_of("*;")));
}

std::string complete_file_name(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t last = slash == std::string::npos ? 0 : slash + 1;
  if (extension.empty() || path.find('.', last) != std::string::npos) return path;
  return path + "." + extension;
}

}  // namespace gui_detail
