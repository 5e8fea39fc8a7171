// Splitting full file names and searching directory lists.
#include "file_names.h"

#include <sys/stat.h>

#include <climits>

#include "runtime/host_path.h"
#include "runtime/run_error.h"

FileNameParts FNM_FileNamePath_ioo(std::string_view full_name) {
  if (full_name.size() > FNM_MaxNameLength) RUN_Error(errcode::kFileNameTooLong);
  const auto cut = full_name.find_last_of("\\:");
  if (cut == std::string_view::npos) return {std::string(), std::string(full_name)};
  return {std::string(full_name.substr(0, cut + 1)), std::string(full_name.substr(cut + 1))};
}

std::optional<std::string> FNM_SearchFile(std::string_view dir_list, std::string_view file_name,
                                          char separator) {
  if (file_name.size() > FNM_MaxNameLength) RUN_Error(errcode::kFileNameTooLong);
  if (file_name.empty() || file_name.find('\0') != std::string_view::npos) return std::nullopt;
  std::size_t start = 0;
  while (start <= dir_list.size()) {
    auto end = dir_list.find(separator, start);
    if (end == std::string_view::npos) end = dir_list.size();
    const std::string_view dir = dir_list.substr(start, end - start);
    start = end + 1;
    if (dir.empty() || dir.find('\0') != std::string_view::npos) continue;
    std::string candidate(dir);
    if (candidate.back() != '/') candidate.push_back('/');
    candidate.append(file_name);
    const std::string host = RUN_HostPath(candidate);
    if (host.size() >= PATH_MAX) continue;
    struct stat st {};
    if (::stat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return candidate;
  }
  return std::nullopt;
}
