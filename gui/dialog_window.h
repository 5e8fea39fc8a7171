// Dialog windows: dialogs made from resource templates and from lists of controls.
#pragma once

#include "types.h"
#include "window.h"
