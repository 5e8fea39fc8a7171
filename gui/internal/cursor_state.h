// The layer's cursor state shared between the cursor operations and the event translation.
#pragma once

#include <Qt>

namespace gui_detail {

// The toolkit shape of a stock cursor number (1..11; other numbers below 12 are the arrow).
Qt::CursorShape cursor_shape_of(int cursor_no);
// A mouse move over a window of the layer: ends cursor_SetWait and cursor_Hide.
void cursor_mouse_moved();

}  // namespace gui_detail
