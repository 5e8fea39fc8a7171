// The record card: the labelled lines of the selected record (core/card_text.h) written to
// "карточка.txt", read back and shown in the message window in the card font, followed by a
// separator.
#pragma once

#include <string>
#include <vector>

#include "layer/layer.h"

// The card command of the list window; false when no line is selected or its record is gone.
bool вывестикарточку(Window win);
// The message window exists (made anew with 40 lines when the user had closed it) and carries
// the card font.
void создадимокносообщкарточки();
