// The life of the process: entry, runtime initialisation and end, the call of the goal.
#pragma once

// The application's goal; defined by the program.
void KERNOG_Goal();

// Process entry: prepares the command line and the show mode and returns WinMain's exit code.
int QbxKernogStart(int argc, char** argv);
// Runs the whole program: initialises the runtime, runs the goal under the outermost trap,
// ends the runtime; returns the exit code (0 after a normal end, the error code after an
// uncaught run-time error).
int WinMain(void* instance, int reserved, const char* command_line, int show_mode);
// Initialises the runtime; 0, or 999 when it is already initialised, or another error code.
int RUN_Init();
// Shuts the runtime down; 0, or 999 without a preceding initialisation.
int RUN_End();
bool RUN_IsInitialised();
