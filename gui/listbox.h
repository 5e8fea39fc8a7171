// List boxes and combined lists: the lbox_ family.
#pragma once

#include "types.h"
#include "window.h"
