// Drawing on windows: pens, brushes, colours, lines, rectangles, text, icons, metrics and mapping.
#pragma once

#include "types.h"
#include "window.h"
