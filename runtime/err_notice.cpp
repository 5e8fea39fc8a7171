// Notices through the error reporting channel.
#include "runtime/err_notice.h"

#include "fatal_stop.h"
#include "runtime/err_report.h"
#include "runtime/file_slots.h"

void ERR_ReportNotice(const std::string& text) {
  if (ErrReporterFn reporter = ERR_GetUserRepFn()) {
    reporter(0, 0, 0, text);
  } else if (ERR_UsesMessageBoxes()) {
    RUN_ShowErrorBox("PROGRAM ERROR", text);
  } else {
    IO_WrStr(text);
    IO_Nl();
  }
}
