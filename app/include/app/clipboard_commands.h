// The toolbar's Cut, Copy and Paste (and the key Ctrl+C): they act on the text field that has
// the focus, as its own keys would; with no text field focused, Copy puts the record of the line
// selected in the focused list window on the clipboard as its card text. Whether each can act
// now, which greys its button.
#pragma once

#include "layer/layer.h"

// Each false, with nothing changed, when it cannot act.
bool вырезать();
bool копировать();
bool вставить();

// Whether each can act now (the window does not matter): Cut on a selection in an editable
// field, Copy on a selection in a field or, with no field focused, on the selected line of the
// focused list window, Paste into an editable field while the clipboard holds text.
bool можно_вырезать(Window);
bool можно_копировать(Window);
bool можно_вставить(Window);
