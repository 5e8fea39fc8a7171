// The program's goal: what the run does between the runtime's start and its end.
#include "run.h"

void KERNOG_Goal() {}
