// Notices to the user that are not errors (e.g. where an old file was kept), shown through the
// same channel as error reports, so the user sees them where errors appear.
#pragma once

#include <string>

// Shows `text` (code page 1251): through the installed reporter (code 0, no position), else in
// an error box when message boxes are in use, else on the current output device with a line end.
void ERR_ReportNotice(const std::string& text);
