// Index cards on a printer. The sheet is cut into quarters along its middle lines; the cutting
// marks stand on those lines at the edges of the printable area and cross at the centre. Each
// card is framed inside its quarter: its lines at the top in a fixed-pitch font with a tab stop
// every eight characters, the picture below them, scaled to the room left with its proportions
// kept. The picture is read as pict_Load reads it; a file that holds none leaves the room empty.
#include "internal/print_cards.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>

#include "internal/picture_store.h"
#include "internal/text.h"
#include "layer_portable/bitmap_decode.h"
#include "runtime/host_path.h"

namespace gui_detail {
namespace {

constexpr int kCardsPerPage = 4;
constexpr double kTextPoints = 10;
constexpr double kFrameInsetMm = 7;  // the card's frame inside its quarter
constexpr double kTextInsetMm = 5;   // the text inside the frame
constexpr double kMarkMm = 6;        // length of a cutting mark
constexpr double kPictureGapMm = 4;

QImage card_picture(const std::string& file_name) {
  if (file_name.empty()) return {};
  QFile f(QString::fromStdString(RUN_HostPath(file_name)));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = f.readAll();
  const std::vector<std::uint8_t> block = bitmap::block_from_file(
      {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
  bitmap::Image image;
  if (block.empty() || bitmap::decode_block(block, image) != bitmap::Status::ok) return {};
  return to_qimage(image);
}

// The line with each tab replaced by the blanks up to the next multiple of eight characters, as
// the card file reads in a fixed-pitch font. (The toolkit's own tab stops are kept in screen
// units and scaled by the font's resolution, which puts them off a printer's page.)
QString with_tabs_expanded(const QString& line) {
  QString out;
  for (const QChar c : line)
    if (c == QLatin1Char('\t'))
      out += QString(8 - out.size() % 8, QLatin1Char(' '));
    else
      out += c;
  return out;
}

class CardPainter {
 public:
  CardPainter(QPrinter& printer, QPainter& painter) : printer_(printer), painter_(painter) {
    const double dpi = printer.resolution();
    mm_ = dpi / 25.4;
    const QPageLayout layout = printer.pageLayout();
    paint_ = layout.paintRectPixels(printer.resolution());
    sheet_ = QRectF(QPointF(0, 0), QSizeF(layout.fullRectPixels(printer.resolution()).size()));
    font_ = QFont(QStringLiteral("DejaVu Sans Mono"));
    font_.setStyleHint(QFont::TypeWriter);
    font_.setPointSizeF(kTextPoints);
    font_ = QFont(font_, &printer);
  }

  void paint_marks() {
    painter_.setPen(QPen(Qt::black, 0));
    const QPointF centre = to_painter(sheet_.center());
    const double m = kMarkMm * mm_;
    const QRectF area = to_painter(paint_);
    painter_.drawLine(QPointF(centre.x(), area.top()), QPointF(centre.x(), area.top() + m));
    painter_.drawLine(QPointF(centre.x(), area.bottom() - m), QPointF(centre.x(), area.bottom()));
    painter_.drawLine(QPointF(area.left(), centre.y()), QPointF(area.left() + m, centre.y()));
    painter_.drawLine(QPointF(area.right() - m, centre.y()), QPointF(area.right(), centre.y()));
    painter_.drawLine(centre - QPointF(m, 0), centre + QPointF(m, 0));
    painter_.drawLine(centre - QPointF(0, m), centre + QPointF(0, m));
  }

  void paint_card(const PrintCard& card, int place) {
    const QSizeF quarter(sheet_.width() / 2, sheet_.height() / 2);
    const QRectF cell(QPointF((place % 2) * quarter.width(), (place / 2) * quarter.height()), quarter);
    const QRectF frame = to_painter(cell.adjusted(kFrameInsetMm * mm_, kFrameInsetMm * mm_, -kFrameInsetMm * mm_,
                                                  -kFrameInsetMm * mm_));
    painter_.setPen(QPen(Qt::gray, 0));
    painter_.drawRect(frame);
    const QRectF inner = frame.adjusted(kTextInsetMm * mm_, kTextInsetMm * mm_, -kTextInsetMm * mm_,
                                        -kTextInsetMm * mm_);
    painter_.setPen(Qt::black);
    double y = inner.top();
    for (const std::string& text : card.lines) y += paint_line(text, inner.left(), y, inner.width());
    const QImage picture = card_picture(card.picture_file);
    const QRectF room(inner.left(), y + kPictureGapMm * mm_, inner.width(), inner.bottom() - y - kPictureGapMm * mm_);
    if (picture.isNull() || room.height() < kPictureGapMm * mm_) return;
    const QSizeF size = QSizeF(picture.size()).scaled(room.size(), Qt::KeepAspectRatio);
    painter_.drawImage(QRectF(QPointF(room.left() + (room.width() - size.width()) / 2, room.top()), size), picture);
  }

 private:
  QPointF to_painter(QPointF sheet_point) const { return sheet_point - paint_.topLeft(); }
  QRectF to_painter(const QRectF& r) const { return r.translated(-paint_.topLeft()); }

  // One card line laid out within `width` and painted; its height. A value too long for one line
  // goes on under itself: its further lines start where it starts, after the label and its tabs
  // (unless the label leaves less than a quarter of the card).
  double paint_line(const std::string& text, double x, double y, double width) {
    const QString line_text = to_qt(text);
    const qsizetype value_at = line_text.lastIndexOf(QLatin1Char('\t')) + 1;
    double indent = QFontMetricsF(font_, &printer_).horizontalAdvance(with_tabs_expanded(line_text.left(value_at)));
    if (indent > width * 3 / 4) indent = 0;
    QTextLayout l(with_tabs_expanded(line_text), font_, &printer_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.setTextOption(option);
    double h = 0;
    l.beginLayout();
    for (QTextLine line = l.createLine(); line.isValid(); line = l.createLine()) {
      const double from = h == 0 ? 0 : indent;
      line.setLineWidth(width - from);
      line.setPosition(QPointF(from, h));
      h += line.height();
    }
    l.endLayout();
    l.draw(&painter_, QPointF(x, y));
    return h;
  }

  QPrinter& printer_;
  QPainter& painter_;
  double mm_ = 1;
  QRectF paint_, sheet_;  // the printable area and the sheet, in the sheet's pixels
  QFont font_;
};

}  // namespace

bool paint_cards(QPrinter& printer, QPainter& painter, const PrintCards& cards, const ProgressReport& step) {
  CardPainter p(printer, painter);
  const int from = printer.fromPage(), to = printer.toPage();
  bool painted_any = false;
  for (std::size_t i = 0; i < cards.cards.size(); ++i) {
    if (!step(static_cast<std::int64_t>(i))) return false;
    const int page = static_cast<int>(i / kCardsPerPage) + 1;
    if (from != 0 && (page < from || (to != 0 && page > to))) continue;
    const int place = static_cast<int>(i % kCardsPerPage);
    if (place == 0 || !painted_any) {
      if (painted_any) printer.newPage();
      painted_any = true;
      p.paint_marks();
    }
    p.paint_card(cards.cards[i], place);
  }
  return true;
}

}  // namespace gui_detail
