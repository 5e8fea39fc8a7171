// Pictures: the packed bitmap block, loading from bitmap and icon files and resources, drawing.
#pragma once

#include "types.h"
#include "window.h"
