// A whole file's bytes as they are on disk (no line-end translation), for readers that take a
// file apart in memory.
#pragma once

#include <string>
#include <string_view>

// The bytes of the file `file_name` (code page 1251). Raises 7000 + errno when it cannot be
// opened or read; std::bad_alloc when its bytes do not fit in memory (the file is closed).
std::string RUN_ReadFileBytes(std::string_view file_name);
