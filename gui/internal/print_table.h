// The table document on a printer: the page header (title, date, page label), the header row
// repeated on every page, and the rows with their cells laid out by the toolkit, wrapped within
// their columns.
#pragma once

#include "layer/print.h"
#include "layer/progress.h"

class QPainter;
class QPrinter;

namespace gui_detail {

// Paints the table on the begun painter of `printer`: a first pass counts the pages, the second
// paints those in the printer's page range (all when it has none). `step` hears of every row in
// both passes (done from 0 to 2 × row_count); false when it asked to stop.
bool paint_table(QPrinter& printer, QPainter& painter, const PrintTable& table, const ProgressReport& step);

}  // namespace gui_detail
