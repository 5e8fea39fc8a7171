// Text on windows: at a baseline, formatted in a rectangle, and its measures in the window's font.
#include <QFontMetrics>
#include <QTextOption>

#include "internal/draw_target.h"
#include "internal/font_block.h"
#include "internal/text.h"
#include "layer/drawing.h"
#include "layer/font.h"

using namespace gui_detail;

namespace {

// The first `len` bytes of the text (all of it for a negative or too large `len`).
QString part_of(const std::string& text, int len) {
  if (len < 0 || static_cast<std::size_t>(len) >= text.size()) return to_qt(text);
  return to_qt(std::string_view(text).substr(0, static_cast<std::size_t>(len)));
}

// The window's font as the toolkit's font.
QFont window_qfont(Window win) { return to_qfont(win_GetFont(win)); }

// The text with its mnemonic marks taken out: "&&" is "&", a single "&" disappears.
QString without_mnemonics(const QString& s) {
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == QLatin1Char('&') && i + 1 < s.size()) ++i;
    else if (s[i] == QLatin1Char('&')) continue;
    out += s[i];
  }
  return out;
}

// Text drawing colours: the text colour as the pen; background colour and mode are selected.
void select_text_colour(QPainter& p, const DrawTools& tools) { p.setPen(to_qcolor(tools.fore)); }

}  // namespace

void draw_Text(Window win, int x, int y, const std::string& text, int len) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  select_text_colour(p, target.tools());
  p.drawText(QPoint(x, y), part_of(text, len));
}

void draw_TextInRect(Window win, Rect rect, const std::string& text, int len, const std::vector<int>& flags) {
  DrawTarget target(win);
  QPainter& p = target.painter();
  select_text_colour(p, target.tools());
  int horizontal = Qt::AlignLeft, vertical = Qt::AlignTop, other = 0;
  bool prefix = true, expand_tabs = false, clip = true, word_break = false, single_line = false;
  int tab_size = 8;
  for (int f : flags) {
    switch (f & 0xFF) {
      case dtext_Bottom: vertical = Qt::AlignBottom; break;
      case dtext_Center: horizontal = Qt::AlignHCenter; break;
      case dtext_ExpandTabs: expand_tabs = true; break;
      case dtext_Left: horizontal = Qt::AlignLeft; break;
      case dtext_NoClip: clip = false; break;
      case dtext_NoPrefix: prefix = false; break;
      case dtext_Right: horizontal = Qt::AlignRight; break;
      case dtext_SingleLine: single_line = true; break;
      case dtext_TabStop:
        if (((f >> 8) & 0xFF) != 0) tab_size = (f >> 8) & 0xFF;
        expand_tabs = true;
        break;
      case dtext_Top: vertical = Qt::AlignTop; break;
      case dtext_VCenter: vertical = Qt::AlignVCenter; break;
      case dtext_WordBreak: word_break = true; break;
      default: break;  // external leading: the line height already holds it
    }
  }
  QString s = part_of(text, len);
  if (single_line) s.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if (expand_tabs && s.contains(QLatin1Char('\t'))) {
    // Tab stops every `tab_size` average character widths; mnemonic marks are taken out.
    QTextOption option(Qt::Alignment(horizontal | vertical));
    option.setWrapMode(word_break && !single_line ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTabStopDistance(tab_size * QFontMetrics(p.font()).averageCharWidth());
    p.save();
    if (clip) p.setClipRect(r, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    p.drawText(QRectF(r), prefix ? without_mnemonics(s) : s, option);
    p.restore();
    return;
  }
  other |= horizontal | vertical;
  if (prefix) other |= Qt::TextShowMnemonic;
  if (!clip) other |= Qt::TextDontClip;
  if (word_break && !single_line) other |= Qt::TextWordWrap;
  if (single_line) other |= Qt::TextSingleLine;
  if (expand_tabs) other |= Qt::TextExpandTabs;
  p.drawText(r, other, s);
}

void win_GetTextExtent(Window win, const std::string& text, int len, int& width, int& height) {
  const QFontMetrics fm(window_qfont(win));
  QString s = part_of(text, len);
  width = fm.horizontalAdvance(s);
  height = fm.height();
}

FontMetrics win_GetFontMetrics(Window win) {
  const QFont f = window_qfont(win);
  const QFontMetrics fm(f);
  FontMetrics m;
  m.ascent = fm.ascent();
  m.descent = fm.descent();
  m.height = m.ascent + m.descent;
  m.internal_leading = f.pixelSize() > 0 ? std::max(0, m.height - f.pixelSize()) : 0;
  m.external_leading = std::max(0, fm.leading());
  m.ave_char_width = fm.averageCharWidth();
  m.max_char_width = fm.maxWidth();
  return m;
}
