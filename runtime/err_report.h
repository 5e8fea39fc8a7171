// Error reporting: composing the report of the last run-time error and handing it to the
// installed reporter (the windowing layer installs its error box), or to a message box or the
// current output device when none is installed.
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
// Composes the report of the last error (code, message text, last-error position) and shows it.
void ERR_ReportLevel1(int code);
