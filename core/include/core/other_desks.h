// What other desks stored: the sections of the catalogue whose stored data changed since this desk
// last read or stored them (another desk saved a change, a person edited a file), read again with
// the start's protection, and what that changed, as the subscribers of the change path hear it.
// The change path (change_path.h) reads them again under the storage's hold before it applies each
// change, and its watch (освежить_каталог) about once a second.
#pragma once

#include <string>
#include <vector>

#include "core/catalogue_files.h"
#include "core/changes.h"

// The sections loaded when a catalogue opens whose stored data changed since this desk last loaded
// or stored them (ХранилищеКаталога::изменён), in the section list's order. Raises the host's
// error of a store that cannot be asked.
std::vector<const РазделКаталога*> разделы_изменённые_другими();

// What reading sections again did.
struct Перечитанное {
  // The records taken out and put in, the categories and kinds when they changed, every section
  // read again in `перечитанные`; the source is 0 (every window shows it).
  Изменения изменения;
  // What to tell the user: a file that could not be read (memory keeps what it held) or loaded
  // only in part (the part before the line it does not understand), as at the opening.
  std::vector<std::string> сообщения;
};
// Reads the sections again through the storage (ХранилищеКаталога::перечитать). A section whose
// file does not load whole is kept aside before its next save, as a start file is. Raises an
// error of the program itself; the host's and the file's are told in the messages.
Перечитанное перечитать_разделы(const std::vector<const РазделКаталога*>& разделы);

// The records `было` lost and gained to become `стало`, each as a multiset of whole values (code
// included): `убранные` in the order of `было`, `добавленные` in the order of `стало`. Linear in
// the records both share at the front and at the back; the rest is compared by key.
void различия_записей(const std::vector<ЗаписьБазы>& было, const std::vector<ЗаписьБазы>& стало,
                      std::vector<ЗаписьБазы>& убранные, std::vector<ЗаписьБазы>& добавленные);
