// A new catalogue: the kinds and categories of the working catalogue and an empty catalogue file
// written to a folder the user chooses, which is then opened.
#pragma once

#include <string>

#include "layer/layer.h"

// Writes into `folder` (a host path) "ВидЛитер.pbs" and "КатегЛитер.pbs" with the kinds and
// categories of the working catalogue and an empty "Литература1.pbs", the catalogue file last:
// all three or none. A folder that holds a catalogue file already is refused and nothing is
// written. False (after a message) when refused or a file cannot be written.
bool записать_новый_каталог(const std::string& folder);

// "Новый каталог…" and the toolbar's New: the folder chooser, записать_новый_каталог, then the
// new catalogue opened as "Открыть каталог…" opens one. False when it does not get that far.
bool создать_новый_каталог(Window task);
