// The filter rules of the file chooser: which filter the initial file name preselects, the
// extension a filter gives, and the completion of a chosen name with it. Texts are cp1251.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gui_detail {

// Whether `name` matches `pattern` character by character, where "?" in the pattern stands for
// any character but a point and "*" for any run of characters up to the next point. A pattern
// may list alternatives separated by ";".
bool name_matches(std::string_view pattern, std::string_view name);
// The 0-based pair of the first filter (description, pattern, …) whose pattern `name` matches;
// 0 when none does.
std::size_t preselected_filter(const std::vector<std::string>& filters, std::string_view name);
// The characters after the first point of the pattern, up to a "*", a ";" or the end; empty
// when the pattern has no point.
std::string filter_extension(std::string_view pattern);
// `path` with a point and `extension` appended when its last component has no point (and the
// extension is not empty).
std::string complete_file_name(const std::string& path, const std::string& extension);

}  // namespace gui_detail
