// A new catalogue as the user makes it: "Новый каталог…" and the toolbar's New. The new
// catalogue's files are written by the core (core/catalogue_work.h).
#pragma once

#include "layer/layer.h"

// The folder chooser, the new catalogue's files written there (a refusal is told), then the new
// catalogue opened as "Открыть каталог…" opens one. False when it does not get that far.
bool создать_новый_каталог(Window task);
