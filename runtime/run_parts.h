// The registered parts of the process as RUN_Init and RUN_End run them (run.h has the rules).
#pragma once

// Every part's init in registration order; the first run-time error stops and is raised.
void RUN_InitParts();
// Every part's end, last registered first, each one also after an earlier one failed; the code
// of the first run-time error, or 0.
int RUN_EndParts();
