// The record card: six labelled lines of the selected record written to "карточка.txt", read
// back and shown in the message window in the card font, followed by a separator.
#pragma once

#include <string>
#include <vector>

#include "core/catalogue_facts.h"
#include "layer/layer.h"

// The card command of the list window; false when no line is selected or its record is gone.
bool вывестикарточку(Window win);
// The card of a record as text: the six lines the card file holds, each ended by "\n".
std::string текст_карточки(const ЗаписьБазы& з);
// The message window exists (made anew with 40 lines when the user had closed it) and carries
// the card font.
void создадимокносообщкарточки();
// The card's six lines as the card file holds them, without their line ends.
std::vector<std::string> строки_карточки(const ЗаписьБазы& record);
