// The record card: the labelled lines of the selected record (core/card_text.h) written to
// "карточка.txt", read back and shown in the message window in the card font, followed by a
// separator; and "Настройки", which chooses the card font.
#pragma once

#include <string>
#include <vector>

#include "layer/layer.h"

// The card command of the list window; false when no line is selected or its record is gone.
bool вывестикарточку(Window win);
// The message window exists (made anew with 40 lines when the user had closed it) and carries
// the card font.
void создадимокносообщкарточки();
// "Настройки": the card font chosen in the font dialog and saved (a file that cannot be written
// is told; the font stays chosen for the run). False when the font was never set or the dialog
// is cancelled: nothing changes then.
bool выбрать_шрифт_карточки();
