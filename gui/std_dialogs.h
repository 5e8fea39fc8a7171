// The standard dialogs: message boxes, notes, errors, questions, text and list prompts, file names, fonts.
#pragma once

#include "types.h"
#include "window.h"
