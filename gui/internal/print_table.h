// The table document on a printer: the page header (title, date, page label), the header row
// repeated on every page, and the rows with their cells laid out by the toolkit, wrapped within
// their columns.
#pragma once

#include <vector>

#include "layer/print.h"
#include "layer/progress.h"

class QPainter;
class QPrinter;

namespace gui_detail {

// Paints the table on the begun painter of `printer`: a first pass counts the pages, the second
// paints those in the printer's page range (all when it has none). `step` hears of every row in
// both passes (done from 0 to 2 × row_count); false when it asked to stop.
bool paint_table(QPrinter& printer, QPainter& painter, const PrintTable& table, const ProgressReport& step);

// Whether the table's columns, at their shares of average characters of the cells' font, are wider
// than a portrait page of the printer's page size: it is then printed on landscape pages.
bool table_needs_landscape(QPrinter& printer, const PrintTable& table);

// The columns' widths on a page `width` wide: by their shares, each at least its least width (the
// longest word of its caption, its min_text, the padding), the others sharing what is left. When
// even the least widths do not fit, they are scaled down together.
std::vector<double> column_widths(const std::vector<int>& shares, const std::vector<double>& least, double width);

}  // namespace gui_detail
