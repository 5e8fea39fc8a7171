// Printing: documents printed on a printer the user chooses in the print dialog, shown in the
// print preview, or written as PDF files. Two kinds of document: a table (a header row over rows
// of text cells; the title, the date and the page number on every page) and index cards (four
// to an A4 page with cutting marks; lines of text and a picture). Texts and file names are
// cp1251. The toolkit lays the text out: long cells wrap within their column, a row too tall for
// a page goes on over the next pages, line by line.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <variant>
#include <vector>

enum PrintAlign : int { print_Left = 0, print_Right = 1, print_Centre = 2 };

// A column of a table: its caption in the header row, its share of the page's width (relative
// to the other columns' shares, counted in average characters of the cells' font) and the
// alignment of its cells. A column is never narrower than the longest word of its caption, nor
// than `min_text` (a code's widest value, say, which is then never broken across lines); the
// other columns give up their room for that.
struct PrintColumn {
  std::string caption;
  int share = 1;
  int align = print_Left;
  std::string min_text;
};

// A table is printed on portrait pages, or on landscape ones when its columns' shares are wider
// than a portrait page.
struct PrintTable {
  std::string title;  // top left of every page; also the print job's name
  std::string date;   // top centre of every page
  // The page's label, top right: of page `page` (from 1) of `pages`; "page / pages" when unset.
  std::function<std::string(int page, int pages)> page_label;
  std::vector<PrintColumn> columns;
  std::size_t row_count = 0;
  // Puts the cells of row `row` (0 .. row_count - 1) into `cells`, one a column. Asked twice for
  // every row (once to count the pages, once to print them), in order: the rows are never all
  // held at once.
  std::function<void(std::size_t row, std::vector<std::string>& cells)> row;
  std::string progress_text;  // the progress box's text while the pages are made
};

// An index card: its lines, in a fixed-pitch font with a tab stop every eight characters, long
// lines wrapped; below them the picture of `picture_file` (a bitmap or icon file, as pict_Load
// reads), scaled to fit with its proportions kept. No picture when the name is empty or the file
// holds none.
struct PrintCard {
  std::vector<std::string> lines;
  std::string picture_file;
};

struct PrintCards {
  std::string title;  // the print job's name
  std::vector<PrintCard> cards;
  std::string progress_text;
};

using PrintDocument = std::variant<PrintTable, PrintCards>;

// Asks for a printer with the print dialog, then prints the document on it under a progress
// box (dlg_Progress). False when the dialog or the progress box is cancelled; a printer job cut
// short is abandoned. When the dialog's choice is output to a PDF file, the file is written as
// print_ToPdf writes it.
bool print_ToPrinter(const PrintDocument& doc);
// Shows the document in the print preview dialog, from which the user may print it (to a
// printer, or to a PDF file written as print_ToPdf writes it). True when it was printed.
bool print_Preview(const PrintDocument& doc);
// Writes the document as a PDF file of A4 pages under a progress box. The file is complete or
// absent: the pages are made aside and the file is replaced only when all are done
// (RUN_ReplaceFile), so a cancelled or failed PDF leaves the old file, or none, as it was. False
// when cancelled; a file that cannot be written is run-time error 7000 + errno, a PDF that
// cannot be made aside 6103.
bool print_ToPdf(const PrintDocument& doc, const std::string& file_name);
