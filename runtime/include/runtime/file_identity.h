// The identity of a file as the host sees it: whether it exists, where it lives (device and
// inode), its size and its modification time to the nanosecond. Two identities of one file name
// are equal when nothing happened to the file between them; a desk compares what it saw when it
// last read its files with what is there now to tell whether another desk or a person changed
// them.
//
// What changes it: a write in place (the modification time, usually the size), a replacement by
// rename (RUN_ReplaceFile: a new inode), a touch, deleting or creating the file. A write in place
// that keeps the size and falls within the same tick of the file system's clock as the identity
// taken before it (a few milliseconds on local disks; whole seconds on some shares) is not seen;
// the program's own saves always replace by rename and so always are.
//
// Take the identities before reading the files (under the folder's lock, runtime/folder_lock.h,
// where writers take it), so that what was read is never older than what was seen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FileIdentity {
  bool exists = false;  // the rest is 0 for a file that does not exist
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modified_seconds = 0;  // since the epoch
  std::int64_t modified_nanoseconds = 0;

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file `file_name` (code page 1251); a link is followed. A missing file, or a
// name whose folder is missing or is no folder, gives an identity that does not exist. The file
// is opened (and closed at once, nothing read) where it may be, so that a network share asks its
// server rather than answering from its cache of file attributes. Raises 7000 + errno for any
// other failure (a share gone stale, an input/output error).
FileIdentity RUN_IdentifyFile(std::string_view file_name);

// The identities of `file_names`, in their order; fails as RUN_IdentifyFile does, on the first
// failing name.
std::vector<FileIdentity> RUN_IdentifyFiles(const std::vector<std::string>& file_names);
