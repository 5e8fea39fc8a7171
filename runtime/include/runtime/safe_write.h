// Replacing a file's contents without ever leaving it half written: the new bytes go to a
// temporary file in the same directory, are put on disk, and only then renamed over the old
// file. On any failure the old file is untouched, the temporary file is removed and the host
// error is raised. Temporaries that a killed process left of the same file are removed by the
// next save of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes `bytes` (as they stand, no line-end translation) as the new contents of `file_name`
// (code page 1251), creating it when absent. A new file gets the permissions a plain create
// would give; a replaced one keeps its own. A symbolic link is followed: its target is replaced.
// An existing file that cannot be opened for writing (read-only, say) raises the error that
// opening it does and is left as it is. Something under the name that is not a regular file (after
// links) is refused and left as it is: a folder raises 7000 + EISDIR, a pipe, a device or a socket
// errcode::kNotRegularFile. When no new file can be made in the directory but the
// file itself can be written, it is rewritten in place (no longer crash-safe). Raises 7000 + errno
// when the file cannot be written.
void RUN_ReplaceFile(std::string_view file_name, std::string_view bytes);

// Copies the file `from` to the new file `to` (both code page 1251), which must not exist yet;
// fails (false) when `to` exists, raises 7000 + errno for any other failure, and
// errcode::kNotRegularFile, without waiting, when `from` is a pipe, a device or a socket. The copy
// is on disk when it returns.
bool RUN_CopyToNewFile(std::string_view from, std::string_view to);

// Makes the folder `folder` (code page 1251), which must not exist yet, holding copies of `files`
// under their last names (which must differ), complete or not at all: the copies are made in a
// temporary folder beside it, put on disk, and the folder takes its name only when all are
// there. Fails (false) when `folder` exists; raises 7000 + errno for any other failure, and then
// nothing is left behind. A temporary folder that a killed copy left is removed by the next copy
// to the same folder name.
bool RUN_CopyToNewFolder(const std::vector<std::string>& files, std::string_view folder);

// Whether a file (or anything else) of that name exists; a link is followed, so a link to
// nothing is no file.
bool RUN_FileExists(std::string_view file_name);
