// How the runtime shows its own boxes, and the fatal stop. The runtime has no windows: a box is
// shown by the error-box routine that the windowing layer installs; without one, the title and
// the text go to the standard error stream. A fatal stop shows its message, then "Kernog program
// terminated on fatal error", and ends the process with the error code as exit status (the host
// keeps its low 8 bits).
#pragma once

#include <string_view>

// The title of a fatal message's box, and the message that ends every fatal stop.
inline constexpr std::string_view RUN_FatalTitle = "Kernog fatal error message";
inline constexpr std::string_view RUN_TerminatedText = "Kernog program terminated on fatal error";

// Writes `text` to the standard error stream with write(2) alone, whole unless the host refuses:
// safe inside a signal handler, and never buffered behind other output.
void RUN_WriteStderr(std::string_view text);

// Shows a task-modal error box with a title and a text (code page 1251).
using ErrorBoxFn = void (*)(const char* title, std::string_view text);

// Installs the error-box routine; null returns to the standard error stream.
void RUN_SetErrorBoxFn(ErrorBoxFn fn);
ErrorBoxFn RUN_GetErrorBoxFn();
// Shows a box through the installed routine, or writes "title: text" and a line feed to the
// standard error stream (the text in UTF-8 there).
void RUN_ShowErrorBox(const char* title, std::string_view text);

// A fatal message: a box titled "Kernog fatal error message".
void RUN_FatalMessage(std::string_view text);

// Shows the fatal message `text`, then "Kernog program terminated on fatal error", and ends the
// process with exit code `code` at once (no clean-up runs; the C library's streams are flushed).
// Not for fault handlers, which write a report prepared beforehand (fault_signals.h).
[[noreturn]] void RUN_FatalStop(int code, std::string_view text);
