// The "Файл" menu's items of the last catalogues opened: one item a catalogue, newest first,
// directly after "Открыть каталог…", numbered "&1" to "&5" and showing the folder's path.
#pragma once

#include <string>

#include "layer/layer.h"

// Makes the items again from the list of the last catalogues.
void обновить_меню_каталогов(Window task);

// The text of the n-th (0-based) item for `folder` (a host path): "&<n+1> <path>", an "&" of the
// path doubled so that it shows as it is.
std::string пункт_последнего_каталога(int n, const std::string& folder);
