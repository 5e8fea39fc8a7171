// Row layout of a toolbar (see toolbar_layout.h).
#include "toolbar_layout.h"

#include <algorithm>

namespace toolbar_detail {

Layout lay_out(const std::vector<Measured>& entries, bool vertical) {
  // Work in "along" (the direction of a row) and "across" co-ordinates, then turn them round
  // for a vertical toolbar.
  int cell = 0;  // the across size of a row: the largest across size of any control
  bool measured = false;
  for (const Measured& m : entries) {
    if (m.kind != Measured::control) continue;
    measured = true;
    cell = std::max(cell, vertical ? m.width : m.height);
  }
  if (!measured) cell = kEmptyCell;

  Layout out;
  out.rects.resize(entries.size());
  int along = kMargin;
  int across = kMargin;
  int longest = 0;  // the along extent of the longest row, without the gap after its last control
  bool row_used = false;  // the current row holds a control (a row without any takes no room)
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Measured& m = entries[i];
    if (m.kind == Measured::gap) {
      along += kSeparator;
      continue;
    }
    if (m.kind == Measured::row) {
      along = kMargin;
      if (row_used) across += cell + kRowGap;
      row_used = false;
      continue;
    }
    const int len = vertical ? m.height : m.width;
    const int thick = vertical ? m.width : m.height;
    const int offset = (cell - thick) / 2;
    if (vertical)
      out.rects[i] = Rect{across + offset, along, across + offset + thick, along + len};
    else
      out.rects[i] = Rect{along, across + offset, along + len, across + offset + thick};
    along += len;
    longest = std::max(longest, along);
    along += kControlGap;
    row_used = true;
  }
  if (longest == 0) longest = kMargin + (measured ? 0 : kEmptyCell);
  const int total_along = longest + kMargin;
  const int total_across = across + cell + kMargin;
  out.width = vertical ? total_across : total_along;
  out.height = vertical ? total_along : total_across;
  return out;
}

}  // namespace toolbar_detail
