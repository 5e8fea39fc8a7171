// The check of a catalogue's files: each file of the section list read with the program's own
// reader, line by line, so that every line it does not understand is found, not only the first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A problem of a catalogue file.
struct ОшибкаФайла {
  std::string_view файл;  // the file's bare name
  std::size_t строка = 0;  // the line, from 1; 0 for the file as a whole (it cannot be read)
  std::string причина;    // why (cp1251)
  bool operator==(const ОшибкаФайла&) const = default;
};

// Reads the files of the current directory that a catalogue opens with (a missing one is a
// problem) and those it only writes when they are there (the card font's), each line as the
// opening reads it; the problems in the order of the files and their lines. The sections hold
// afterwards what their files gave; no file is written.
std::vector<ОшибкаФайла> проверить_файлы_каталога();
