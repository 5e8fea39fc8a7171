// Posted events: win_PostEvent queues an event for a window through the toolkit's event queue;
// it is processed in order when the loop gets to it, and dropped when the window is gone.
#pragma once

#include "layer/events.h"

namespace gui_detail {

void post_layer_event(Window win, Event ev);

}  // namespace gui_detail
