// A catalogue's folder: the files that make a catalogue, the working folder, checking a folder
// the user chose, and the texts that name a folder or a host's refusal in the program's
// messages. Folder paths are the host's (UTF-8) unless said otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue_files.h"
#include "runtime/run_error.h"

// The files of a catalogue: the files of its sections (catalogue_files.h), in their order.
std::vector<std::string_view> файлы_каталога();

// The working folder, a folder's path as messages show it and a file's path in a folder:
// рабочая_папка, показ_папки and файл_в_папке (catalogue_files.h).

// Why a folder the user chose cannot be taken: the message when it is not a folder, and, when
// `catalogue` is given, when it does not hold a catalogue (true: the file "Литература1.pbs" must
// be there) or holds one already (false: none of the catalogue's files may be there). Nothing when it
// can be taken.
std::optional<std::string> отказ_папки(const std::string& folder, std::optional<bool> catalogue);

// A message about a file or folder operation that failed: `what` could not be done (cp1251), the
// reason, what came of it and what the user can do, in the words of the runtime's one table:
// "<what>: <reason>. <outcome>\n<advice>" (without an outcome: "<what>: <reason>.\n<advice>").
// The second form takes the host's error number.
std::string текст_отказа(const std::string& what, const RunError& e, std::string_view outcome = {});
std::string текст_отказа(const std::string& what, int host_number);
