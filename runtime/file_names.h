// File-name services: splitting a full name into its directory and file name parts, and finding
// a file along a list of directories. Names are code page 1251 text; only "\" and ":" separate
// directories in a full name (a "/" is not a separator there).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The longest file name the file-name operations take; a longer one raises error 1135.
inline constexpr std::size_t FNM_MaxNameLength = 255;

struct FileNameParts {
  std::string directory;  // everything up to and including the last "\" or ":"; empty if none
  std::string file_name;  // the rest
};

// Splits a full name. A name of 256 characters or more raises error 1135.
FileNameParts FNM_FileNamePath_ioo(std::string_view full_name);

// The full name of the first directory of `dir_list` (entries separated by `separator`; empty
// entries are skipped) that holds a file (not a directory) called `file_name`. A candidate whose
// length reaches the host's path limit is skipped, never truncated. A file name of 256 characters
// or more raises error 1135. Fails when no directory has the file.
std::optional<std::string> FNM_SearchFile(std::string_view dir_list, std::string_view file_name,
                                          char separator = ':');
