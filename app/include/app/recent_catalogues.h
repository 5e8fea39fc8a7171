// The catalogues the user opened last, newest first, at most five. They are kept in the user's
// configuration folder ($XDG_CONFIG_HOME/foliarkh, or ~/.config/foliarkh), in the file
// "каталоги.txt": one host path (UTF-8) a line. The "Файл" menu offers them, and a start without
// a folder of its own goes back to the first of them.
#pragma once

#include <string>
#include <vector>

inline constexpr std::size_t кол_последних_каталогов = 5;

// The host path of the list's file; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string файл_последних_каталогов();

// The catalogue folders of the list (host paths), newest first; an empty list when the file is
// absent or unreadable. Blank lines and lines that are not absolute paths are passed over.
std::vector<std::string> последние_каталоги();

// Puts `folder` (a host path, made absolute and without a trailing "/") first in the list,
// removes it further down, keeps five and saves the list at once. A list that cannot be saved
// (no home folder, no permission) is left as it was: remembering is a convenience, never an error.
void запомнить_каталог(const std::string& folder);
