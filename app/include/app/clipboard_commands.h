// The toolbar's Cut, Copy and Paste (and the key Ctrl+C): they act on the text field that has
// the focus, as its own keys would; with no text field focused, Copy puts the record of the line
// selected in the focused list window on the clipboard as its card text. The buttons are greyed
// while they cannot act.
#pragma once

// Each false, with nothing changed, when it cannot act.
bool вырезать();
bool копировать();
bool вставить();

// The three buttons on the task window's toolbar, when it is there, enabled as far as they can
// act now. Also the program's answer to the layer's notices of the focused text field.
void показать_буфер_обмена();
