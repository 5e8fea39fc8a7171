// The windowing layer as the program sees it: include this one header.
#pragma once

#include "layer/clipboard.h" // IWYU pragma: export
#include "layer/controls.h"  // IWYU pragma: export
#include "layer/cursor.h"    // IWYU pragma: export
#include "layer/desktop.h"   // IWYU pragma: export
#include "layer/dialog_window.h" // IWYU pragma: export
#include "layer/drawing.h"   // IWYU pragma: export
#include "layer/error_box.h" // IWYU pragma: export
#include "layer/events.h"    // IWYU pragma: export
#include "layer/file_drop.h" // IWYU pragma: export
#include "layer/font.h"      // IWYU pragma: export
#include "layer/help.h"      // IWYU pragma: export
#include "layer/listbox.h"   // IWYU pragma: export
#include "layer/listview.h"  // IWYU pragma: export
#include "layer/menu.h"      // IWYU pragma: export
#include "layer/picture.h"   // IWYU pragma: export
#include "layer/print.h"     // IWYU pragma: export
#include "layer/progress.h"  // IWYU pragma: export
#include "layer/resource_tables.h" // IWYU pragma: export
#include "layer/show_state.h" // IWYU pragma: export
#include "layer/std_dialogs.h" // IWYU pragma: export
#include "layer/timer.h"     // IWYU pragma: export
#include "layer/types.h"     // IWYU pragma: export
#include "layer/uix.h"       // IWYU pragma: export
#include "layer/win_ops.h"   // IWYU pragma: export
#include "layer/window.h"    // IWYU pragma: export
