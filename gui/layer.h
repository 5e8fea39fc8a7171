// The windowing layer as the program sees it: include this one header.
#pragma once

#include "cursor.h"    // IWYU pragma: export
#include "error_box.h" // IWYU pragma: export
#include "events.h"    // IWYU pragma: export
#include "font.h"      // IWYU pragma: export
#include "help.h"      // IWYU pragma: export
#include "menu.h"      // IWYU pragma: export
#include "timer.h"     // IWYU pragma: export
#include "types.h"     // IWYU pragma: export
#include "uix.h"       // IWYU pragma: export
#include "win_ops.h"   // IWYU pragma: export
#include "window.h"    // IWYU pragma: export
