// The program's two shared bars: the project toolbar of the task window and the help line at the
// bottom of the task window and of each list window.
#pragma once

#include "layer/layer.h"

// The project toolbar (top) on `parent`: the buttons of the command table's project toolbar,
// greyed while they cannot act (also when it comes back after a list window took it away).
void tb_project_toolbar_Create(Window parent);
// The help line (bottom) on `parent`.
void tb_help_line_Create(Window parent);
