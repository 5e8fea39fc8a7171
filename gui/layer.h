// The windowing layer as the program sees it: include this one header.
#pragma once

#include "controls.h"  // IWYU pragma: export
#include "cursor.h"    // IWYU pragma: export
#include "dialog_window.h" // IWYU pragma: export
#include "drawing.h"   // IWYU pragma: export
#include "error_box.h" // IWYU pragma: export
#include "events.h"    // IWYU pragma: export
#include "font.h"      // IWYU pragma: export
#include "help.h"      // IWYU pragma: export
#include "listbox.h"   // IWYU pragma: export
#include "menu.h"      // IWYU pragma: export
#include "picture.h"   // IWYU pragma: export
#include "show_state.h" // IWYU pragma: export
#include "std_dialogs.h" // IWYU pragma: export
#include "timer.h"     // IWYU pragma: export
#include "types.h"     // IWYU pragma: export
#include "uix.h"       // IWYU pragma: export
#include "win_ops.h"   // IWYU pragma: export
#include "window.h"    // IWYU pragma: export
