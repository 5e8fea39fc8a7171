// A whole file's bytes as they are on disk (no line-end translation), for readers that take a
// file apart in memory: the one reading of a whole file (IO_RdFile builds on it).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How far a whole-file read goes.
enum class FileExtent {
  to_end,     // up to the end of the file, also past the size it had when it was opened
  as_opened,  // at most the size the file had when it was opened
};

// Opens the file of host path `host` for reading, without waiting: a folder raises 7000 + EISDIR,
// a pipe, a device or a socket errcode::kNotRegularFile, before and after the opening (which
// closes again). -1 with errno set when it cannot be opened.
int open_regular_for_reading(const std::string& host);

// The bytes of the file `file_name` (code page 1251). Raises 7000 + errno when it cannot be
// opened or read (EISDIR for a folder), errcode::kNotRegularFile without waiting when it is a
// pipe, a device or a socket; std::bad_alloc when its bytes do not fit in memory. The file is
// closed however the reading ends.
std::string RUN_ReadFileBytes(std::string_view file_name, FileExtent extent = FileExtent::to_end);
// The same, for a file of at most `max_bytes`: nothing, after reading no more than max_bytes + 1
// bytes, when the file holds more.
std::optional<std::string> RUN_ReadFileBytes(std::string_view file_name, FileExtent extent, std::size_t max_bytes);
