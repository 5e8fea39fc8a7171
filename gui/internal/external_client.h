// Windows of the layer whose client area is a widget made outside the layer (the text editor):
// the layer builds the frame around it exactly as for win_Create, registers the window in the
// window table and delivers e_create. The widget itself turns its toolkit events into events of
// the domain with the calls of internal/translate.h.
#pragma once

#include <cstdint>
#include <string>

#include "layer/events.h"
#include "layer/window.h"

class QWidget;

namespace gui_detail {

// Like win_Create (kind 1 or 2, the same checks and run-time errors), with `client` as the
// client area; the window owns the widget from here on. `second_handler` is tried before
// `handler` (it may be nullptr).
Window create_window_with_client(QWidget* client, int kind, Rect rect, const std::string& title,
                                 const Menu& menu, Window parent, const WinFlags& flags,
                                 EventHandler handler, EventHandler second_handler,
                                 std::int32_t creation_data);

}  // namespace gui_detail
