// The life of the process: entry, runtime initialisation and end, the call of the goal.
// States: not initialised -> running (RUN_Init) -> not initialised again (RUN_End); errors do not
// change the state, they only unwind to traps.
#pragma once

#include <string>
#include <string_view>

// The application's goal; defined by the program.
void KERNOG_Goal();

// Process entry: resets the floating-point environment, takes the command line apart (the
// program's name is skipped) and returns WinMain's exit code. The show mode is 10 (the host's
// default), as this host's start-up information carries none.
int QbxKernogStart(int argc, char** argv);
// Runs the whole program: initialises the runtime, runs the goal under the outermost trap,
// ends the runtime; returns the exit code: 0 after a normal end, the error code after an uncaught
// run-time error (reported first through KERNOG_ErrReport; a failure of that report is ignored),
// the code of RUN_Exit, or RUN_Init's code when the start fails. The reporter and the message-box
// mode installed before it (by the windowing layer) are left as they are.
int WinMain(void* instance, int reserved, const char* command_line, int show_mode);

// Initialises the runtime: memory settings, the symbol table, the files, the error messages, the
// fault handlers and the registered parts. Returns 0; 999 when it is already running; or the
// code of the failure (1008 for invalid memory settings) after the fatal message
// "Kernog initialization failed with code: <code>".
int RUN_Init();
// Shuts the runtime down: flushes and closes the files, ends the registered parts, restores the
// floating-point environment and the fault handlers. Returns 0; 999 when it is not running; or
// the code of the failure after the fatal message "Kernog termination failed with code: <code>".
int RUN_End();
bool RUN_IsInitialised();

// A part of the process that starts, ends and is reset with the runtime: each library that keeps
// process state registers one (its `<library>_RegisterPart`, which registers the libraries it
// builds on first). `init` runs at the end of RUN_Init, in registration order; `end` runs in
// RUN_End, after the files are closed, and `reset` in RUN_ResetParts, both in reverse order, so a
// part is ended or reset before the parts it builds on. Any may be null; init and end may raise a
// run-time error, which makes the start or the end fail with its code. A part registered again
// is not added twice. The runtime's own part is first of all, so it ends and is reset last: its
// end releases the fact store (RNT_FC_Terminate); its reset closes the program's files, returns
// the devices and the routines other parts install (console output, error reports, boxes) to their
// start, empties the fact store and clears the error state.
using RunPartFn = void (*)();
void RUN_RegisterPart(RunPartFn init, RunPartFn end, RunPartFn reset = nullptr);
// Puts every registered part back to its start state, as a new process would find it: the
// parts' resets, last registered first. The set-up of every test calls it. Call it only while
// no part is in use: the runtime not started, no window open, no enumeration pending.
void RUN_ResetParts();

// The instance given to WinMain, and the show mode.
void* RUN_GetInstance();
int RUN_GetShowMode();

// The process's whole command line (program name first): as QbxKernogStart received it, else
// read from /proc/self/cmdline. Arguments holding blanks are quoted.
const std::string& RUN_GetCommandLine();
void RUN_SetCommandLine(std::string command_line);
// The command line without the program's name: a quoted name ends at its closing quote, another
// at the first blank; then blanks and control characters are skipped.
std::string_view RUN_SkipProgramName(std::string_view command_line);
// The program's file name: the first word of the command line with everything up to the last
// "\", "/" or ":" removed (the extension stays).
std::string RUN_ProgramFileName(std::string_view command_line);
