// Printing the catalogue and a record's card: the catalogue as a table with the list window's
// columns, in the list's order, on a printer or as a PDF file the user names; the card of the
// list window's selected record as an index card in the print preview.
#pragma once

#include <string_view>
#include <vector>

#include "core/catalogue_facts.h"
#include "layer/layer.h"

// "Печать каталога…": the print dialog, then the catalogue printed under a progress box. From a
// list window its lines are printed, from any other window the whole catalogue. False when the
// user cancels or the output could not be written (the user has been told).
bool напечатать_каталог(Window from);
// "Каталог в PDF…": the file chooser for a "*.pdf" name, then the catalogue written there as by
// напечатать_каталог. False when the user cancels or the file could not be written (the user has
// been told, and the file is as it was).
bool каталог_в_pdf(Window from);
// "Печать карточки…" of a list window: the selected record's card in the print preview; without
// a selected line the "Не выделена" message. False when nothing was printed.
bool напечатать_карточку(Window list_window);

// The catalogue as the table printed from `from`: the catalogue's name (its folder's), today's
// date and "стр. N из M" over the list's columns, full texts, the records of записи_для_печати.
// `progress_text` is the progress box's text.
PrintTable таблица_каталога(Window from, std::string_view progress_text);

// The records printed from `from`, in print order: those of a list window's lines in their
// order, else every record the list shows, in the order the list window sorts their lines.
std::vector<ЗаписьБазы> записи_для_печати(Window from);
