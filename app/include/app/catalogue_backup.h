// The backup copy of the working catalogue: its files (the catalogue, the categories, the kinds,
// the settings when present, and the cover pictures its records name) copied together into a
// new dated folder "Фолиарх-копия-YYYY-MM-DD" of a folder the user chooses, complete or not at
// all.
#pragma once

#include <optional>
#include <string>
#include <vector>

// What a copy takes from the working folder: the catalogue's files that are there, then the
// cover files the records name that are there (each once, in table order), as bare names; and
// how many named covers are not there.
struct ФайлыКопии {
  std::vector<std::string> файлы;
  int нет_обложек = 0;
};
ФайлыКопии файлы_для_копии();

// The name of the copy's folder for a date "YYYY-MM-DD", the n-th try (1: none before it):
// "Фолиарх-копия-<date>", then with "-2", "-3", ….
std::string имя_папки_копии(const std::string& date, int n);

// Copies the files into a new folder in `folder` (a host path), named for today; the host path
// of the folder made, or nothing after a message when it cannot be made.
std::optional<std::string> записать_копию(const std::string& folder, const ФайлыКопии& what);

// "Резервная копия…" and the toolbar's Save: the folder chooser, the copy, and a message saying
// where it went and how many files it holds. False when cancelled or the copy fails.
bool сделать_резервную_копию();
