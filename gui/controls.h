// Controls: creating every control kind, check and radio state, control states and edit fields.
#pragma once

#include "types.h"
#include "window.h"
