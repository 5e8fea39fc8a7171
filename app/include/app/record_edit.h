// Deleting the record of the selected list line after a question, and handing it to the
// data-entry dialog for editing.
#pragma once

#include <string>
#include <vector>

#include "layer/layer.h"

// The delete command of the list window; false when it ends without completing.
bool удалитьзаписьбазылит(Window win);
// Acts on the answer of the question (0 is "Да"); false for any other answer.
bool обработатьответнаудаление(int answer, Window win);
// Removes the record of a one-line selection and saves the catalogue; false when the list does
// not hold one line, no record has its code, or the save fails (the user is told why). `from`,
// the list window it was chosen in (0: none), shows the change itself; every other window is
// told of it.
bool удалитизосновнойбазыпосписку(const std::vector<std::string>& lines, Window from = 0);
// The edit command; `reset` (the toolbar button) puts the title and the tools back afterwards.
bool редактироватьзапись(Window win, bool reset);
