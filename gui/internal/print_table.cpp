// The table document on a printer. Every page: the title, the date and the page label above a
// rule, then the header row, then as many rows as fit. A row that does not fit in what is left
// of a page starts the next one; a row taller than a whole page is split between its cells'
// lines over as many pages as it needs. Both passes run the same placement, the first only
// counting, so the page numbers of the second are exact. Only one row is laid out at a time.
#include "internal/print_table.h"

#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "internal/text.h"

namespace gui_detail {
namespace {

constexpr double kBodyPoints = 8;
constexpr double kHeadPoints = 9;
constexpr double kPadPoints = 2;   // around a cell's text
constexpr double kGapPoints = 6;   // between the page header and the table

QFont font_of(double points, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

Qt::Alignment alignment(int align) {
  switch (align) {
    case print_Right: return Qt::AlignRight;
    case print_Centre: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

// Lays `text` out in lines of `width`; the height of its lines.
double lay_out(QTextLayout& l, const QString& text, const QFont& font, QPaintDevice* device, double width,
               Qt::Alignment align) {
  l.setFont(QFont(font, device));
  l.setText(text);
  QTextOption option(align);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  l.setTextOption(option);
  double y = 0;
  l.beginLayout();
  for (QTextLine line = l.createLine(); line.isValid(); line = l.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  l.endLayout();
  return y;
}

// The least width of a column's text: its caption's longest word in the header's font, and its
// min_text in the cells' font.
double least_width(const PrintColumn& column, const QFont& header, const QFont& cells, QPaintDevice* device) {
  const QFontMetricsF head(header, device), body(cells, device);
  double w = body.horizontalAdvance(to_qt(column.min_text));
  for (const QString& word : to_qt(column.caption).split(QLatin1Char(' '), Qt::SkipEmptyParts))
    w = std::max(w, head.horizontalAdvance(word));
  return std::ceil(w) + 1;
}

// One row's cells laid out, and how far each cell has been printed (for a row split over pages).
struct Row {
  std::unique_ptr<QTextLayout[]> cells;
  std::vector<int> next_line;
  double text_height = 0;  // the tallest cell's lines
};

class TablePainter {
 public:
  TablePainter(QPrinter& printer, QPainter& painter, const PrintTable& table)
      : printer_(printer), painter_(painter), table_(table), body_(font_of(kBodyPoints, false)),
        bold_(font_of(kBodyPoints, true)), head_(font_of(kHeadPoints, false)) {
    const double pt = printer.resolution() / 72.0;
    pad_ = kPadPoints * pt;
    page_ = QRectF(QPointF(0, 0), QSizeF(printer.pageLayout().paintRectPixels(printer.resolution()).size()));
    std::vector<int> shares;
    std::vector<double> least;
    for (const PrintColumn& c : table.columns) {
      shares.push_back(c.share);
      least.push_back(least_width(c, bold_, body_, &printer_) + 2 * pad_);
    }
    col_w_ = column_widths(shares, least, page_.width());
    double x = 0;
    for (const double w : col_w_) {
      col_x_.push_back(x);
      x += w;
    }
    QTextLayout probe;
    head_height_ = lay_out(probe, QStringLiteral("0"), head_, &printer_, page_.width(), Qt::AlignLeft);
    table_top_ = head_height_ + kGapPoints * pt;
    // The header row: as tall as its tallest caption.
    double captions = 0;
    for (std::size_t c = 0; c < col_w_.size(); ++c) {
      QTextLayout l;
      captions = std::max(captions, lay_out(l, to_qt(table.columns[c].caption), bold_, &printer_, text_width(c),
                                            Qt::AlignHCenter));
    }
    body_top_ = table_top_ + captions + 2 * pad_;
  }

  // Places every row; paints the pages in range when `pages` is known (the second pass). The
  // number of pages, or -1 when `step` asked to stop.
  int run(int pages, std::int64_t step_base, const ProgressReport& step) {
    pages_ = pages;
    page_no_ = 0;
    painted_any_ = false;
    begin_page();
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < table_.row_count; ++i) {
      if (!step(step_base + static_cast<std::int64_t>(i))) return -1;
      if (painting() && past_range()) return page_no_;
      cells.assign(col_w_.size(), std::string());
      table_.row(i, cells);
      Row row = lay_out_row(cells);
      place(row);
    }
    end_page();
    return page_no_;
  }

 private:
  double text_width(std::size_t c) const { return std::max(1.0, col_w_[c] - 2 * pad_); }
  double body_height() const { return page_.height() - body_top_; }
  bool painting() const { return pages_ > 0; }
  bool in_range() const {
    const int from = printer_.fromPage(), to = printer_.toPage();
    return from == 0 || (page_no_ >= from && (to == 0 || page_no_ <= to));
  }
  bool past_range() const { return printer_.toPage() != 0 && page_no_ > printer_.toPage(); }
  bool drawing() const { return painting() && in_range(); }

  Row lay_out_row(const std::vector<std::string>& cells) {
    Row row;
    row.cells = std::make_unique<QTextLayout[]>(col_w_.size());
    row.next_line.assign(col_w_.size(), 0);
    for (std::size_t c = 0; c < col_w_.size(); ++c) {
      const double h = lay_out(row.cells[c], to_qt(cells[c]), body_, &printer_, text_width(c),
                               alignment(table_.columns[c].align));
      row.text_height = std::max(row.text_height, h);
    }
    return row;
  }

  void place(Row& row) {
    const double h = row.text_height + 2 * pad_;
    if (y_ + h > page_.height() && y_ > body_top_ && h <= body_height()) {
      end_page();
      begin_page();
    }
    if (y_ + h <= page_.height()) {
      if (drawing()) paint_slice(row, y_, std::numeric_limits<double>::infinity());
      y_ += h;
      return;
    }
    // Taller than a page: as many of each cell's lines as fit, page after page.
    if (y_ > body_top_) {
      end_page();
      begin_page();
    }
    for (;;) {
      const double room = page_.height() - y_ - 2 * pad_;
      const double used = paint_slice(row, y_, room);
      y_ += used + 2 * pad_;
      bool done = true;
      for (std::size_t c = 0; c < col_w_.size(); ++c) done &= row.next_line[c] >= row.cells[c].lineCount();
      if (done) return;
      end_page();
      begin_page();
    }
  }

  // Paints, from each cell's next line on, the lines that fit in `room` (at least one) with the
  // slice's top at `top`; the height of the tallest cell's part. Only counts when not drawing.
  double paint_slice(Row& row, double top, double room) {
    double used = 0;
    for (std::size_t c = 0; c < col_w_.size(); ++c) {
      QTextLayout& l = row.cells[c];
      int& next = row.next_line[c];
      if (next >= l.lineCount()) continue;
      const double first_y = l.lineAt(next).y();
      int end = next;
      while (end < l.lineCount() && (end == next || l.lineAt(end).y() + l.lineAt(end).height() - first_y <= room))
        ++end;
      const double height = l.lineAt(end - 1).y() + l.lineAt(end - 1).height() - first_y;
      used = std::max(used, height);
      if (drawing()) {
        const QPointF at(col_x_[c] + pad_, top + pad_ - first_y);
        for (int i = next; i < end; ++i) l.lineAt(i).draw(&painter_, at);
      }
      next = end;
    }
    if (drawing()) {
      const double bottom = top + used + 2 * pad_;
      painter_.setPen(QPen(Qt::black, 0));
      painter_.drawLine(QPointF(0, bottom), QPointF(page_.width(), bottom));
    }
    return used;
  }

  void begin_page() {
    ++page_no_;
    y_ = body_top_;
    if (!drawing()) return;
    if (painted_any_) printer_.newPage();
    painted_any_ = true;
    paint_page_header();
    paint_header_row();
  }

  // The columns' dividers, from the header row down to the last row of the page.
  void end_page() {
    if (!drawing()) return;
    painter_.setPen(QPen(Qt::black, 0));
    painter_.drawRect(QRectF(0, table_top_, page_.width(), y_ - table_top_));
    for (std::size_t c = 1; c < col_x_.size(); ++c)
      painter_.drawLine(QPointF(col_x_[c], table_top_), QPointF(col_x_[c], y_));
  }

  void paint_page_header() {
    painter_.setFont(head_);
    painter_.setPen(Qt::black);
    const QRectF band(0, 0, page_.width(), head_height_);
    painter_.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, to_qt(table_.title));
    painter_.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, to_qt(table_.date));
    const std::string label = table_.page_label ? table_.page_label(page_no_, pages_)
                                                : std::to_string(page_no_) + " / " + std::to_string(pages_);
    painter_.drawText(band, Qt::AlignRight | Qt::AlignVCenter, to_qt(label));
  }

  void paint_header_row() {
    painter_.fillRect(QRectF(0, table_top_, page_.width(), body_top_ - table_top_), QColor(0xE0, 0xE0, 0xE0));
    for (std::size_t c = 0; c < col_w_.size(); ++c) {
      QTextLayout l;
      lay_out(l, to_qt(table_.columns[c].caption), bold_, &printer_, text_width(c), Qt::AlignHCenter);
      l.draw(&painter_, QPointF(col_x_[c] + pad_, table_top_ + pad_));
    }
    painter_.setPen(QPen(Qt::black, 0));
    painter_.drawLine(QPointF(0, body_top_), QPointF(page_.width(), body_top_));
  }

  QPrinter& printer_;
  QPainter& painter_;
  const PrintTable& table_;
  QFont body_, bold_, head_;
  QRectF page_;
  double pad_ = 0;
  std::vector<double> col_x_, col_w_;
  double head_height_ = 0, table_top_ = 0, body_top_ = 0;
  int pages_ = 0, page_no_ = 0;
  bool painted_any_ = false;
  double y_ = 0;
};

}  // namespace

std::vector<double> column_widths(const std::vector<int>& shares, const std::vector<double>& least, double width) {
  const std::size_t n = shares.size();
  std::vector<double> w(n, 0);
  double least_sum = 0;
  for (const double l : least) least_sum += l;
  if (least_sum >= width) {
    for (std::size_t c = 0; c < n; ++c) w[c] = least_sum > 0 ? least[c] * width / least_sum : width / n;
    return w;
  }
  // Columns held at their least width leave the rest to the others by their shares, until every
  // other one gets at least its own least.
  std::vector<bool> held(n, false);
  for (bool changed = true; changed;) {
    changed = false;
    double rest = width, free_shares = 0;
    for (std::size_t c = 0; c < n; ++c) held[c] ? rest -= least[c] : free_shares += std::max(1, shares[c]);
    for (std::size_t c = 0; c < n; ++c) {
      if (held[c]) {
        w[c] = least[c];
        continue;
      }
      w[c] = rest * std::max(1, shares[c]) / std::max(1.0, free_shares);
      if (w[c] < least[c]) {
        held[c] = true;
        changed = true;
      }
    }
  }
  return w;
}

bool table_needs_landscape(QPrinter& printer, const PrintTable& table) {
  QPageLayout portrait = printer.pageLayout();
  portrait.setOrientation(QPageLayout::Portrait);
  const double width = portrait.paintRectPixels(printer.resolution()).width();
  const double average = QFontMetricsF(font_of(kBodyPoints, false), &printer).averageCharWidth();
  double shares = 0;
  for (const PrintColumn& c : table.columns) shares += std::max(1, c.share);
  return shares * average > width;
}

bool paint_table(QPrinter& printer, QPainter& painter, const PrintTable& table, const ProgressReport& step) {
  if (table.columns.empty()) return true;
  TablePainter t(printer, painter, table);
  const int pages = t.run(0, 0, step);
  if (pages < 0) return false;
  return t.run(pages, static_cast<std::int64_t>(table.row_count), step) >= 0;
}

}  // namespace gui_detail
