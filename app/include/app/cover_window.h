// The cover window: the picture named by имяфайлаобложки at its natural size, placed near the
// top right corner of the task window at every paint, and its registration id_окнаобложки, by
// which the data-entry dialog closes it without keeping the window itself.
#pragma once

#include "layer/layer.h"

Window win_обложка_Create(Window parent);
std::optional<long> win_обложка_eh(Window win, const Event& ev);

// Registers `win` as the open cover window unless an open one is registered already.
void запомнитьокнообложки(Window win);
// Closes the registered open cover window (the registration is marked closed first).
void удалитьокнообложки();
