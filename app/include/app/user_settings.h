// The program's own settings in the user's configuration folder ($XDG_CONFIG_HOME/foliarkh, or
// ~/.config/foliarkh): its place, and a settings file read and written as lines. Remembering is a
// convenience, never an error: a file that cannot be read is an empty one, one that cannot be
// written stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder's host path; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string папка_настроек();

// The lines of the settings file `name` (a host file name in the folder), without their line
// ends; none when it is missing or unreadable.
std::vector<std::string> прочитать_настройки(std::string_view name);
// Replaces the settings file `name` with `lines`, each ended by "\n" (the folder made when
// missing); false when it could not be written.
bool записать_настройки(std::string_view name, const std::vector<std::string>& lines);
