// Host faults: the handlers that turn SIGSEGV, SIGBUS, SIGFPE and SIGILL into the run-time error
// of the fault and end the run with it. A fault cannot be resumed here, so the handler reports it
// as a fatal stop (the code's message text, then "Kernog program terminated on fatal error", each
// as a line "Kernog fatal error message: <text>" on the standard error stream) and ends the
// process with the error code. The handlers run on an alternate signal stack, so a stack overflow
// is caught too. A fault while a fault is being reported ends the program with
// "Unable to handle nested exception (code = <hex>)" and the first fault's code; it never gives a
// second report.
//
// A fault may strike anywhere, inside the allocator or with a lock of the C library held, so the
// handler allocates nothing, takes no lock and calls no code that might: the reports of every
// code are composed when the handlers are installed (and again whenever the message file
// changes), and the handler only writes one of them with write(2). The error box is not used. The
// report is bounded in time: should writing block (a full pipe, a stopped terminal), the process
// ends with the fault's code when the time limit runs out.
#pragma once

// Installs the handlers and their alternate stack (start of the run); again after removal.
void RUN_InstallFaultHandlers();
// Restores the handlers and the alternate stack that were in place before (end of the run).
void RUN_RemoveFaultHandlers();
// Composes the reports the handlers write, with the texts of the message file in use; does
// nothing while the handlers are not installed.
void RUN_PrepareFaultReports();
// How many seconds a fault's report may take before the process ends without it (10 at start;
// at least 1).
void RUN_SetFaultReportTimeLimit(unsigned seconds);

// The run-time error of a fault: access violation 1009 (SIGSEGV, SIGBUS), stack overflow 1010,
// floating-point overflow 1030, integer overflow 1031, division by zero 1032 (integer or
// floating-point), floating-point underflow or inexact result 1033, anything else 1050.
int RUN_FaultErrorCode(int signal, int si_code, bool stack_overflow);
