// Making a dialog of the layer from a template: the dialog widget and its record, the layout in
// dialog units of the template's font, the items in template order (each static text is the
// label of the field after it), the focus on the first tab-stop control, e_create, and then the
// modal loop or the modeless return.
#pragma once

#include <cstdint>

#include "internal/dialog_template.h"
#include "layer/events.h"

namespace gui_detail {

// Kind 6 or 7, else 6001; parent not a window 6000, a control as parent 6001; 6304 when no
// dialog can be made. A modal dialog returns once it has closed.
Window open_dialog(const DialogTemplate& t, Window parent, int kind, EventHandler handler,
                   std::int32_t creation_data);

}  // namespace gui_detail
