// Error reporting: composing the report of the last run-time error (the code's message text and
// the last-error position) and handing it to the installed reporter (the windowing layer
// installs its error box), or, without one, to an error box titled "PROGRAM ERROR" when message
// boxes are in use, else to the current output device.
#pragma once

#include <cstdint>
#include <string>

// A reporter shows a composed report: the error code, the number of the included source (0 for
// none), the position and the report text (code page 1251).
using ErrReporterFn = void (*)(int code, int include_no, std::uint32_t pos, const std::string& text);

void ERR_InstallUserRepFns(ErrReporterFn reporter);
ErrReporterFn ERR_GetUserRepFn();
// Whether reports are shown in message boxes (the windowing layer is present) or written out.
void ERR_SetMessageBoxes(bool on);
bool ERR_UsesMessageBoxes();

// The report text of `code` at the last-error position.
// With message boxes:    "Module:<unit>[ Include:<source>] Pos:<pos> Message:<text>"
// Without message boxes: "\nPROGRAM ERROR. Module:<unit>[ Include:<source>] Pos:<pos>\n Message:<text>\n"
// The words pass through the runtime's translation (err_texts.h).
std::string ERR_ComposeReport(int code, bool message_boxes);

// Composes the report of the last error (code, message text, last-error position) and shows it.
void ERR_ReportLevel1(int code);
// The runtime's standard report, used for an error that no handler of the program takes.
void KERNOG_ErrReport(int code);
