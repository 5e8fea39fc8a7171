// Geometry of layer windows: the outer widget of a record, placing a window by its client
// rectangle (the frame and menu bar are added around it) and reading rectangles back.
#pragma once

#include <QRect>

#include "internal/window_record.h"

namespace gui_detail {

// The widget that is moved and shown: the frame, or the client when there is none.
QWidget* outer_widget(const WindowRecord& r);
// Places the window so that its client area covers `client` (in the parent's client
// coordinates, or the screen's for top-level frames). The window hears e_size and e_move on the
// way; when a handler destroys it, the placing stops and `r` is gone on return.
void set_client_geometry(WindowRecord& r, const QRect& client);
// Places the outer widget itself; as for set_client_geometry, `r` may be gone on return.
void set_outer_geometry(WindowRecord& r, const QRect& outer);
QRect to_qrect(const Rect& r);
Rect to_rect(const QRect& r);

}  // namespace gui_detail
