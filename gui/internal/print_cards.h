// Index cards on a printer: four to a page, in the quarters of the sheet, with cutting marks.
#pragma once

#include "layer/print.h"
#include "layer/progress.h"

class QPainter;
class QPrinter;

namespace gui_detail {

// Paints the cards on the begun painter of `printer`, four to a page, the pages in the printer's
// page range (all when it has none). `step` hears of every card; false when it asked to stop.
bool paint_cards(QPrinter& printer, QPainter& painter, const PrintCards& cards, const ProgressReport& step);

}  // namespace gui_detail
