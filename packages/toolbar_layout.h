// Row layout of a toolbar: where each control stands and how large the whole toolbar is, from
// the measured sizes of its controls. Pure computation, no windows.
#pragma once

#include <cstdint>
#include <vector>

#include "layer/types.h"

namespace toolbar_detail {

// The three layout values: the margin around the controls, the gap between two controls and
// the gap between two rows; and the room one separator leaves.
inline constexpr int kMargin = 4;
inline constexpr int kControlGap = 4;
inline constexpr int kRowGap = 4;
inline constexpr int kSeparator = 2 * kControlGap;
// The cell of a list without measured controls.
inline constexpr int kEmptyCell = 16;

struct Measured {
  enum Kind { control, gap, row } kind = control;
  int width = 0;
  int height = 0;
};

struct Layout {
  std::vector<Rect> rects;  // one per entry, in the toolbar's client co-ordinates; empty for gaps and rows
  int width = 0;            // the room the controls need, margins included
  int height = 0;
};

// Lays the entries out left to right in rows (vertical: top to bottom in columns). Every row is
// as high as the highest control of the whole list (every column as wide as the widest), and a
// control is centred across it. A separator leaves kSeparator pixels besides the usual gap; a
// row without controls takes no room.
Layout lay_out(const std::vector<Measured>& entries, bool vertical);

}  // namespace toolbar_detail
